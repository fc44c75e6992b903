// The IDirectSound the module gets from DirectSoundCreate: simulated, or a
// proxy for Wine's real device (see fake_dsound.h).
#pragma once
#include <windows.h>
#include <dsound.h>

#include <memory>

#include "standin/faults/sound_object.h"

namespace faults {

class fake_buffer;
class sound_buffer;

class sound_device final : public IDirectSound {
public:
    // `real` null: a simulated device; else the real device this proxy owns
    // one reference to.
    sound_device(fake_dsound& stage, int id, IDirectSound* real);
    ~sound_device();
    sound_device(const sound_device&) = delete;
    sound_device& operator=(const sound_device&) = delete;

    sound_object& object() { return object_; }
    IDirectSound* real() const { return real_; }
    DWORD level() const { return level_; }
    // One of its buffers lost its last reference.
    void buffer_gone();

    STDMETHOD_(HRESULT, QueryInterface)(REFIID riid, void** object) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(CreateSoundBuffer)(LPCDSBUFFERDESC desc, LPLPDIRECTSOUNDBUFFER buffer,
                                 IUnknown* outer) override;
    STDMETHOD(GetCaps)(LPDSCAPS caps) override;
    STDMETHOD(DuplicateSoundBuffer)(LPDIRECTSOUNDBUFFER original,
                                    LPLPDIRECTSOUNDBUFFER duplicate) override;
    STDMETHOD(SetCooperativeLevel)(HWND window, DWORD level) override;
    STDMETHOD(Compact)() override;
    STDMETHOD(GetSpeakerConfig)(LPDWORD config) override;
    STDMETHOD(SetSpeakerConfig)(DWORD config) override;
    STDMETHOD(Initialize)(LPCGUID device) override;

private:
    // Hands the module a buffer: a new object for `fake` or `real`, or the
    // existing one when `real` is already proxied (the primary buffer).
    sound_buffer& hand_out(std::uint64_t seq, std::unique_ptr<fake_buffer> fake,
                           IDirectSoundBuffer* real);
    // The real device goes once neither the module nor a buffer needs it.
    void drop_real_if_unused();

    sound_object object_;
    IDirectSound* real_;
    DWORD level_ = 0;
    DWORD speakers_ = DSSPEAKER_COMBINED(DSSPEAKER_STEREO, DSSPEAKER_GEOMETRY_WIDE);
    sound_buffer* primary_ = nullptr;  // fake mode: one primary buffer per device
};

}  // namespace faults
