// The DirectSound the module is handed when it calls DirectSoundCreate.
//
// In fake mode (the default) the device and its buffers are simulated: Lock
// hands out real memory of the buffer's size, Play captures the buffer's
// contents, and GetStatus reports the buffer playing until the test finishes
// it (or, with play_clock::real_time, until its length has played out). In
// forward mode DirectSoundCreate creates Wine's real device and the module
// gets proxies that forward every call to the real objects. Either way every
// call is counted, logged and can be failed through the ledger.
//
// The objects are kept until the ledger is destroyed, even after their last
// Release, so a module using one after releasing it is reported as a problem
// instead of crashing.
#pragma once
#include <windows.h>
#include <dsound.h>

#include <memory>
#include <vector>

#include "standin/faults/sound_records.h"

namespace faults {

class ledger;
class sound_buffer;
class sound_device;

enum class sound_mode { fake, forward };

enum class play_clock {
    manual,     // a buffer plays until finish_playing / finish_all_playing / Stop
    real_time,  // a buffer that doesn't loop stops once its bytes have played
};

using direct_sound_create_fn = HRESULT(WINAPI*)(LPCGUID, LPDIRECTSOUND*, LPUNKNOWN);

class fake_dsound {
public:
    explicit fake_dsound(ledger& owner);
    ~fake_dsound();
    fake_dsound(const fake_dsound&) = delete;
    fake_dsound& operator=(const fake_dsound&) = delete;

    // Applies to devices created afterwards.
    void set_mode(sound_mode mode);
    sound_mode mode() const;
    void set_play_clock(play_clock clock);

    // Fake mode: end playback as if the buffers had played out.
    void finish_all_playing();
    bool finish_playing(int buffer);  // false if there is no such fake buffer
    // Fake mode: every buffer reports DSBSTATUS_BUFFERLOST, and Lock and Play
    // fail with DSERR_BUFFERLOST, until the module calls Restore.
    void lose_all_buffers();

    sound_log log() const;
    std::size_t devices_alive() const;
    std::size_t buffers_alive() const;

    // ---- for the DirectSoundCreate hook and the objects ----
    HRESULT create(const GUID* device, LPDIRECTSOUND* out, LPUNKNOWN outer,
                   direct_sound_create_fn real);
    ledger& owner() { return owner_; }
    sound_log& records() { return log_; }
    const play_clock& clock() const { return clock_; }  // buffers keep this reference
    // A buffer object the module got from us, or null.
    sound_buffer* ours(IDirectSoundBuffer* p) const;
    // The live proxy of a real buffer, or null.
    sound_buffer* proxy_of(IDirectSoundBuffer* real) const;
    sound_buffer& add_buffer(std::unique_ptr<sound_buffer> buffer);
    int next_buffer_id() const { return static_cast<int>(buffers_.size()) + 1; }
    std::size_t buffers_alive_of(const sound_device& device) const;
    void orphan_buffers_of(const sound_device& device);

private:
    ledger& owner_;
    sound_mode mode_ = sound_mode::fake;
    play_clock clock_ = play_clock::manual;
    sound_log log_;
    // Buffers are released before the devices they belong to.
    std::vector<std::unique_ptr<sound_device>> devices_;
    std::vector<std::unique_ptr<sound_buffer>> buffers_;
};

}  // namespace faults
