// The IDirectSoundBuffer the module gets from CreateSoundBuffer: simulated, or
// a proxy for a real Wine buffer (see fake_dsound.h). It implements the
// IDirectSoundBuffer8 layout, which begins with IDirectSoundBuffer's, because
// Wine hands buffers out under both interfaces.
#pragma once
#include <windows.h>
#include <dsound.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "standin/faults/sound_object.h"

namespace faults {

class fake_buffer;
class sound_device;

class sound_buffer final : public IDirectSoundBuffer8 {
public:
    // Exactly one of `fake` and `real` is set; the proxy owns one reference
    // to `real`.
    sound_buffer(fake_dsound& stage, int id, sound_device& device,
                 std::unique_ptr<fake_buffer> fake, IDirectSoundBuffer* real);
    ~sound_buffer();
    sound_buffer(const sound_buffer&) = delete;
    sound_buffer& operator=(const sound_buffer&) = delete;

    IDirectSoundBuffer* as_buffer() {
        return reinterpret_cast<IDirectSoundBuffer*>(static_cast<IDirectSoundBuffer8*>(this));
    }
    sound_object& object() { return object_; }
    const sound_object& object() const { return object_; }
    sound_device& device() { return device_; }
    IDirectSoundBuffer* real() const { return real_; }
    fake_buffer* fake() { return fake_.get(); }

    STDMETHOD_(HRESULT, QueryInterface)(REFIID riid, void** object) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(GetCaps)(LPDSBCAPS caps) override;
    STDMETHOD(GetCurrentPosition)(LPDWORD play, LPDWORD write) override;
    STDMETHOD(GetFormat)(LPWAVEFORMATEX format, DWORD allocated, LPDWORD written) override;
    STDMETHOD(GetVolume)(LPLONG volume) override;
    STDMETHOD(GetPan)(LPLONG pan) override;
    STDMETHOD(GetFrequency)(LPDWORD frequency) override;
    STDMETHOD(GetStatus)(LPDWORD status) override;
    STDMETHOD(Initialize)(LPDIRECTSOUND device, LPCDSBUFFERDESC desc) override;
    STDMETHOD(Lock)(DWORD offset, DWORD bytes, LPVOID* ptr1, LPDWORD len1, LPVOID* ptr2,
                    LPDWORD len2, DWORD flags) override;
    STDMETHOD(Play)(DWORD reserved, DWORD priority, DWORD flags) override;
    STDMETHOD(SetCurrentPosition)(DWORD position) override;
    STDMETHOD(SetFormat)(LPCWAVEFORMATEX format) override;
    STDMETHOD(SetVolume)(LONG volume) override;
    STDMETHOD(SetPan)(LONG pan) override;
    STDMETHOD(SetFrequency)(DWORD frequency) override;
    STDMETHOD(Stop)() override;
    STDMETHOD(Unlock)(LPVOID ptr1, DWORD len1, LPVOID ptr2, DWORD len2) override;
    STDMETHOD(Restore)() override;
    STDMETHOD(SetFX)(DWORD count, LPDSEFFECTDESC effects, LPDWORD results) override;
    STDMETHOD(AcquireResources)(DWORD flags, DWORD count, LPDWORD results) override;
    STDMETHOD(GetObjectInPath)(REFGUID object, DWORD index, REFGUID iid, LPVOID* out) override;

private:
    struct region {
        void* ptr1;
        DWORD len1;
        void* ptr2;
        DWORD len2;
    };
    // The shared steps of a method without records of its own: the fake's
    // answer or the real one's.
    template <class Fake, class Real>
    HRESULT run(api method, const std::string& args, Fake fake, Real real);
    // The whole buffer as it is now.
    std::vector<std::uint8_t> snapshot();
    // The real buffer's IDirectSoundBuffer8, asked for on first use.
    IDirectSoundBuffer8* real8();
    bool take_lock(void* ptr1, DWORD len1, void* ptr2, DWORD len2);

    sound_object object_;
    sound_device& device_;
    std::unique_ptr<fake_buffer> fake_;
    IDirectSoundBuffer* real_;
    IDirectSoundBuffer8* real8_ = nullptr;
    std::vector<region> locked_;  // regions handed out by Lock and not yet unlocked
};

}  // namespace faults
