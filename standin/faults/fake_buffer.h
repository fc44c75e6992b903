// A simulated DirectSound buffer: its memory, cursors, controls and play
// state, answering each method as Wine's DirectSound does.
#pragma once
#include <windows.h>
#include <dsound.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "standin/faults/fake_dsound.h"

namespace faults {

// Checks a buffer description as CreateSoundBuffer is documented to. On success `bytes`
// is the size the buffer gets (rounded up to whole blocks).
HRESULT check_buffer_desc(const DSBUFFERDESC* desc, DWORD* bytes);

class fake_buffer {
public:
    // A secondary buffer described by a checked `desc`, or the primary one.
    fake_buffer(const DSBUFFERDESC& desc, DWORD bytes, const play_clock& clock);
    // A duplicate shares the original's memory, as in DirectSound.
    std::unique_ptr<fake_buffer> duplicate() const;

    bool primary() const { return flags_ & DSBCAPS_PRIMARYBUFFER; }
    HRESULT get_caps(DSBCAPS* caps) const;
    HRESULT get_current_position(DWORD* play, DWORD* write);
    HRESULT get_format(WAVEFORMATEX* format, DWORD allocated, DWORD* written) const;
    HRESULT get_volume(LONG* volume) const;
    HRESULT get_pan(LONG* pan) const;
    HRESULT get_frequency(DWORD* frequency) const;
    HRESULT get_status(DWORD* status);
    // `level` is the device's cooperative level, which guards the primary buffer.
    HRESULT lock(DWORD offset, DWORD bytes, void** ptr1, DWORD* len1, void** ptr2, DWORD* len2,
                 DWORD flags, DWORD level);
    HRESULT play(DWORD flags);
    HRESULT set_current_position(DWORD position);
    HRESULT set_format(const WAVEFORMATEX* format, DWORD level);
    HRESULT set_volume(LONG volume);
    HRESULT set_pan(LONG pan);
    HRESULT set_frequency(DWORD frequency);
    HRESULT stop();
    HRESULT unlock(const void* ptr1, DWORD len1, const void* ptr2, DWORD len2) const;
    HRESULT restore();

    void finish();
    void lose();
    std::vector<std::uint8_t> contents() const { return *memory_; }

private:
    fake_buffer(const fake_buffer& other) = default;
    // Moves the play cursor on by the time played (real_time clock only).
    void advance();
    DWORD bytes_per_second() const;
    bool region_ok(const void* p, DWORD len) const;

    const play_clock& clock_;
    DWORD flags_;
    WAVEFORMATEX format_;
    std::shared_ptr<std::vector<std::uint8_t>> memory_;
    LONG volume_ = DSBVOLUME_MAX;
    LONG pan_ = DSBPAN_CENTER;
    DWORD frequency_;
    DWORD position_ = 0;
    bool playing_ = false;
    bool looping_ = false;
    bool lost_ = false;
    ULONGLONG started_ = 0;      // tick count at Play (real_time clock)
    DWORD start_position_ = 0;   // the play cursor then
};

}  // namespace faults
