// The DirectSound objects the module is handed: a device and its buffers,
// each a recording layer over an inner object (the fake's or Wine's) that it
// holds one reference to. The methods the module calls are counted, logged,
// recorded, failable, and passed on to the inner object; any other method is
// an unexpected call.
#pragma once
#include <windows.h>
#include <dsound.h>

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "standin/ledger/api.h"
#include "standin/ledger/call_gate.h"
#include "standin/ledger/records.h"
#include "standin/ledger/sound_records.h"

namespace faults {

class recorded_buffer;
class recorded_device;

// What the recorded objects need of the recorder that keeps them: the call
// gate, the records they add to, and a place for each new buffer. The sound
// recorder implements it.
class object_keeper {
public:
    virtual call_gate& gate() = 0;
    virtual sound_log& records() = 0;
    virtual recorded_buffer& add_buffer(recorded_device& device, IDirectSoundBuffer* inner) = 0;

protected:
    ~object_keeper() = default;
};

// What a device and a buffer share: a label ("buffer#2"), the module's
// reference count, and the steps around every method call.
class recorded_object {
public:
    recorded_object(object_keeper& recorder, const char* kind, int id);

    struct call {
        std::unique_lock<std::recursive_mutex> guard;
        call_mark mark;
        long code = 0;
        bool stop = false;      // don't do the work; return `result`
        HRESULT result = S_OK;
    };
    // Counts and logs "kind#id.Method(args)". Stops a call on a released
    // object (reported as a problem) or one failed with an error code.
    call begin(api method, const std::string& args);
    // The method's result, or the injected success code in its place.
    static HRESULT finish(const call& c, HRESULT result);
    // A method the module has no reason to call: logged and reported, and
    // answered without reaching the inner object.
    HRESULT unexpected(const char* method);
    // QueryInterface and AddRef, which the module has no reason to call either.
    HRESULT unexpected_query(void** object);
    ULONG unexpected_add_ref();
    // Release's bookkeeping; the count left.
    ULONG release(api method);

    std::string label() const;
    int id() const { return id_; }
    bool alive() const { return refs_ > 0; }

protected:
    object_keeper& recorder_;

private:
    const char* kind_;
    int id_;
    ULONG refs_ = 1;
};

class recorded_device final : public IDirectSound, public recorded_object {
public:
    recorded_device(object_keeper& recorder, int id, IDirectSound* inner);
    ~recorded_device();
    recorded_device(const recorded_device&) = delete;
    recorded_device& operator=(const recorded_device&) = delete;

    // One of its buffers lost its last reference.
    void buffer_gone();

    STDMETHOD(QueryInterface)(REFIID, void** object) override { return unexpected_query(object); }
    STDMETHOD_(ULONG, AddRef)() override { return unexpected_add_ref(); }
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(CreateSoundBuffer)(LPCDSBUFFERDESC desc, LPLPDIRECTSOUNDBUFFER buffer, IUnknown* outer) override;
    STDMETHOD(SetCooperativeLevel)(HWND window, DWORD level) override;
    STDMETHOD(GetCaps)(LPDSCAPS) override { return unexpected("GetCaps"); }
    STDMETHOD(DuplicateSoundBuffer)(LPDIRECTSOUNDBUFFER, LPLPDIRECTSOUNDBUFFER) override {
        return unexpected("DuplicateSoundBuffer");
    }
    STDMETHOD(Compact)() override { return unexpected("Compact"); }
    STDMETHOD(GetSpeakerConfig)(LPDWORD) override { return unexpected("GetSpeakerConfig"); }
    STDMETHOD(SetSpeakerConfig)(DWORD) override { return unexpected("SetSpeakerConfig"); }
    STDMETHOD(Initialize)(LPCGUID) override { return unexpected("Initialize"); }

private:
    // The inner device goes once neither the module nor a buffer of it needs it:
    // DirectSound destroys a device's buffers with it.
    void drop_inner_if_unused();

    IDirectSound* inner_;
    std::size_t live_buffers_ = 0;
};

class recorded_buffer final : public IDirectSoundBuffer, public recorded_object {
public:
    recorded_buffer(object_keeper& recorder, int id, recorded_device& device, IDirectSoundBuffer* inner);
    ~recorded_buffer();
    recorded_buffer(const recorded_buffer&) = delete;
    recorded_buffer& operator=(const recorded_buffer&) = delete;

    // Stops the inner buffer behind the module's back, as if it had played
    // out; false once the module has released it.
    bool finish_playing();

    STDMETHOD(QueryInterface)(REFIID, void** object) override { return unexpected_query(object); }
    STDMETHOD_(ULONG, AddRef)() override { return unexpected_add_ref(); }
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(GetStatus)(LPDWORD status) override;
    STDMETHOD(Lock)(DWORD offset, DWORD bytes, LPVOID* ptr1, LPDWORD len1, LPVOID* ptr2, LPDWORD len2,
                    DWORD flags) override;
    STDMETHOD(Play)(DWORD reserved, DWORD priority, DWORD flags) override;
    STDMETHOD(SetCurrentPosition)(DWORD position) override;
    STDMETHOD(Stop)() override;
    STDMETHOD(Unlock)(LPVOID ptr1, DWORD len1, LPVOID ptr2, DWORD len2) override;
    STDMETHOD(GetCaps)(LPDSBCAPS) override { return unexpected("GetCaps"); }
    STDMETHOD(GetCurrentPosition)(LPDWORD, LPDWORD) override { return unexpected("GetCurrentPosition"); }
    STDMETHOD(GetFormat)(LPWAVEFORMATEX, DWORD, LPDWORD) override { return unexpected("GetFormat"); }
    STDMETHOD(GetVolume)(LPLONG) override { return unexpected("GetVolume"); }
    STDMETHOD(GetPan)(LPLONG) override { return unexpected("GetPan"); }
    STDMETHOD(GetFrequency)(LPDWORD) override { return unexpected("GetFrequency"); }
    STDMETHOD(Initialize)(LPDIRECTSOUND, LPCDSBUFFERDESC) override { return unexpected("Initialize"); }
    STDMETHOD(SetFormat)(LPCWAVEFORMATEX) override { return unexpected("SetFormat"); }
    STDMETHOD(SetVolume)(LONG) override { return unexpected("SetVolume"); }
    STDMETHOD(SetPan)(LONG) override { return unexpected("SetPan"); }
    STDMETHOD(SetFrequency)(DWORD) override { return unexpected("SetFrequency"); }
    STDMETHOD(Restore)() override { return unexpected("Restore"); }

private:
    // The whole buffer as it is now, read through a Lock the module doesn't see.
    std::vector<std::uint8_t> snapshot();

    recorded_device& device_;
    IDirectSoundBuffer* inner_;
};

}  // namespace faults
