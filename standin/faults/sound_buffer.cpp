#include "standin/faults/sound_buffer.h"

#include <cstring>

#include "standin/faults/describe.h"
#include "standin/faults/fake_buffer.h"
#include "standin/faults/ledger.h"
#include "standin/faults/sound_device.h"

namespace faults {

sound_buffer::sound_buffer(fake_dsound& stage, int id, sound_device& device,
                           std::unique_ptr<fake_buffer> fake, IDirectSoundBuffer* real)
    : object_(stage, "buffer", id), device_(device), fake_(std::move(fake)), real_(real) {}

sound_buffer::~sound_buffer() {
    if (real8_) real8_->Release();
    if (real_) real_->Release();
}

template <class Fake, class Real>
HRESULT sound_buffer::run(api method, const std::string& args, Fake fake, Real real) {
    auto guard = object_.stage().owner().lock();
    sound_object::call c = object_.begin(method, args);
    if (c.stop) return c.result;
    return sound_object::finish(c, real_ ? real() : fake());
}

IDirectSoundBuffer8* sound_buffer::real8() {
    if (!real8_) real_->QueryInterface(IID_IDirectSoundBuffer8, reinterpret_cast<void**>(&real8_));
    return real8_;
}

std::vector<std::uint8_t> sound_buffer::snapshot() {
    if (fake_) return fake_->contents();
    // Peek through a Lock of the whole buffer that writes nothing back; the
    // module doesn't see this call.
    void* p1 = nullptr;
    void* p2 = nullptr;
    DWORD l1 = 0, l2 = 0;
    if (FAILED(real_->Lock(0, 0, &p1, &l1, &p2, &l2, DSBLOCK_ENTIREBUFFER))) return {};
    std::vector<std::uint8_t> bytes(static_cast<std::uint8_t*>(p1), static_cast<std::uint8_t*>(p1) + l1);
    if (p2) bytes.insert(bytes.end(), static_cast<std::uint8_t*>(p2), static_cast<std::uint8_t*>(p2) + l2);
    real_->Unlock(p1, 0, p2, 0);
    return bytes;
}

HRESULT sound_buffer::QueryInterface(REFIID riid, void** object) {
    auto guard = object_.stage().owner().lock();
    sound_object::call c = object_.begin(api::buffer_QueryInterface, guid_text(riid));
    if (!object) return c.stop ? c.result : DSERR_INVALIDPARAM;
    *object = nullptr;
    if (c.stop) return c.result;
    bool ours = IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDirectSoundBuffer);
    bool eight = IsEqualIID(riid, IID_IDirectSoundBuffer8);
    if (ours || (eight && (fake_ || real8()))) {
        *object = static_cast<IDirectSoundBuffer8*>(this);
        object_.grab(c.seq);
        return sound_object::finish(c, S_OK);
    }
    if (fake_ || eight) return E_NOINTERFACE;
    HRESULT hr = real_->QueryInterface(riid, object);
    if (SUCCEEDED(hr))
        object_.stage().owner().problem(object_.label() + ".QueryInterface(" + guid_text(riid) +
                                        ") handed out the real interface; its references are not counted");
    return sound_object::finish(c, hr);
}

ULONG sound_buffer::AddRef() {
    auto guard = object_.stage().owner().lock();
    return object_.add_ref(api::buffer_AddRef);
}

ULONG sound_buffer::Release() {
    auto guard = object_.stage().owner().lock();
    bool was_alive = object_.alive();
    ULONG left = object_.release(api::buffer_Release);
    if (was_alive && left == 0) {
        if (real8_) real8_->Release();
        if (real_) real_->Release();
        real8_ = nullptr;
        real_ = nullptr;
        locked_.clear();
        device_.buffer_gone();
    }
    return left;
}

HRESULT sound_buffer::GetCaps(LPDSBCAPS caps) {
    return run(api::buffer_GetCaps, "", [&] { return fake_->get_caps(caps); },
               [&] { return real_->GetCaps(caps); });
}

HRESULT sound_buffer::GetCurrentPosition(LPDWORD play, LPDWORD write) {
    return run(api::buffer_GetCurrentPosition, "",
               [&] { return fake_->get_current_position(play, write); },
               [&] { return real_->GetCurrentPosition(play, write); });
}

HRESULT sound_buffer::GetFormat(LPWAVEFORMATEX format, DWORD allocated, LPDWORD written) {
    return run(api::buffer_GetFormat, text("%lu", allocated),
               [&] { return fake_->get_format(format, allocated, written); },
               [&] { return real_->GetFormat(format, allocated, written); });
}

HRESULT sound_buffer::GetVolume(LPLONG volume) {
    return run(api::buffer_GetVolume, "", [&] { return fake_->get_volume(volume); },
               [&] { return real_->GetVolume(volume); });
}

HRESULT sound_buffer::GetPan(LPLONG pan) {
    return run(api::buffer_GetPan, "", [&] { return fake_->get_pan(pan); },
               [&] { return real_->GetPan(pan); });
}

HRESULT sound_buffer::GetFrequency(LPDWORD frequency) {
    return run(api::buffer_GetFrequency, "", [&] { return fake_->get_frequency(frequency); },
               [&] { return real_->GetFrequency(frequency); });
}

HRESULT sound_buffer::GetStatus(LPDWORD status) {
    return run(api::buffer_GetStatus, "", [&] { return fake_->get_status(status); },
               [&] { return real_->GetStatus(status); });
}

HRESULT sound_buffer::Initialize(LPDIRECTSOUND device, LPCDSBUFFERDESC desc) {
    return run(api::buffer_Initialize, pointer_text(desc),
               [&] { return DSERR_ALREADYINITIALIZED; },
               [&] { return real_->Initialize(device == &device_ ? device_.real() : device, desc); });
}

HRESULT sound_buffer::Lock(DWORD offset, DWORD bytes, LPVOID* ptr1, LPDWORD len1, LPVOID* ptr2,
                           LPDWORD len2, DWORD flags) {
    auto guard = object_.stage().owner().lock();
    sound_object::call c = object_.begin(api::buffer_Lock, text("%lu,%lu,%lu", offset, bytes, flags));
    lock_call record{{c.seq, c.injected}, object_.id(), offset, bytes, flags};
    HRESULT hr = c.result;
    if (!c.stop && ptr2 && !len2) {
        // Wine writes the second length without checking the pointer.
        object_.stage().owner().problem(object_.label() +
                                        ".Lock with a second region pointer but no length pointer");
        hr = DSERR_INVALIDPARAM;
    } else if (!c.stop) {
        hr = real_ ? real_->Lock(offset, bytes, ptr1, len1, ptr2, len2, flags)
                   : fake_->lock(offset, bytes, ptr1, len1, ptr2, len2, flags, device_.level());
        if (SUCCEEDED(hr)) {
            record.ptr1 = *ptr1;
            record.len1 = *len1;
            record.ptr2 = ptr2 ? *ptr2 : nullptr;
            record.len2 = len2 ? *len2 : 0;
            locked_.push_back({record.ptr1, record.len1, record.ptr2, record.len2});
        }
        hr = sound_object::finish(c, hr);
    }
    record.result = hr;
    object_.stage().records().locks.push_back(record);
    return hr;
}

bool sound_buffer::take_lock(void* ptr1, DWORD len1, void* ptr2, DWORD len2) {
    for (auto r = locked_.begin(); r != locked_.end(); ++r) {
        if (r->ptr1 != ptr1 || len1 > r->len1) continue;
        if (ptr2 && (ptr2 != r->ptr2 || len2 > r->len2)) continue;
        locked_.erase(r);
        return true;
    }
    return false;
}

HRESULT sound_buffer::Unlock(LPVOID ptr1, DWORD len1, LPVOID ptr2, DWORD len2) {
    auto guard = object_.stage().owner().lock();
    sound_object::call c = object_.begin(api::buffer_Unlock, text("%lu,%lu", len1, len2));
    unlock_call record{{c.seq, c.injected}, object_.id(), ptr1, len1, ptr2, len2};
    record.matches_lock = take_lock(ptr1, len1, ptr2, len2);
    HRESULT hr = c.result;
    if (!c.stop)
        hr = sound_object::finish(c, real_ ? real_->Unlock(ptr1, len1, ptr2, len2)
                                           : fake_->unlock(ptr1, len1, ptr2, len2));
    record.result = hr;
    object_.stage().records().unlocks.push_back(record);
    return hr;
}

HRESULT sound_buffer::Play(DWORD reserved, DWORD priority, DWORD flags) {
    auto guard = object_.stage().owner().lock();
    sound_object::call c = object_.begin(api::buffer_Play, text("%lu,%lu,%lu", reserved, priority, flags));
    play_call record{{c.seq, c.injected}, object_.id(), reserved, priority, flags};
    HRESULT hr = c.result;
    if (object_.alive()) record.contents = snapshot();
    if (!c.stop)
        hr = sound_object::finish(c, real_ ? real_->Play(reserved, priority, flags) : fake_->play(flags));
    record.result = hr;
    object_.stage().records().plays.push_back(std::move(record));
    return hr;
}

HRESULT sound_buffer::SetCurrentPosition(DWORD position) {
    auto guard = object_.stage().owner().lock();
    sound_object::call c = object_.begin(api::buffer_SetCurrentPosition, text("%lu", position));
    HRESULT hr = c.result;
    if (!c.stop)
        hr = sound_object::finish(c, real_ ? real_->SetCurrentPosition(position)
                                           : fake_->set_current_position(position));
    object_.stage().records().positions.push_back({{c.seq, c.injected}, object_.id(), position, hr});
    return hr;
}

HRESULT sound_buffer::SetFormat(LPCWAVEFORMATEX format) {
    return run(api::buffer_SetFormat, pointer_text(format),
               [&] { return fake_->set_format(format, device_.level()); },
               [&] { return real_->SetFormat(format); });
}

HRESULT sound_buffer::SetVolume(LONG volume) {
    return run(api::buffer_SetVolume, text("%ld", volume), [&] { return fake_->set_volume(volume); },
               [&] { return real_->SetVolume(volume); });
}

HRESULT sound_buffer::SetPan(LONG pan) {
    return run(api::buffer_SetPan, text("%ld", pan), [&] { return fake_->set_pan(pan); },
               [&] { return real_->SetPan(pan); });
}

HRESULT sound_buffer::SetFrequency(DWORD frequency) {
    return run(api::buffer_SetFrequency, text("%lu", frequency),
               [&] { return fake_->set_frequency(frequency); },
               [&] { return real_->SetFrequency(frequency); });
}

HRESULT sound_buffer::Stop() {
    return run(api::buffer_Stop, "", [&] { return fake_->stop(); }, [&] { return real_->Stop(); });
}

HRESULT sound_buffer::Restore() {
    return run(api::buffer_Restore, "", [&] { return fake_->restore(); },
               [&] { return real_->Restore(); });
}

// The effect methods exist only on IDirectSoundBuffer8; the simulated buffer
// has no effects, as a buffer created without DSBCAPS_CTRLFX hasn't.
HRESULT sound_buffer::SetFX(DWORD count, LPDSEFFECTDESC effects, LPDWORD results) {
    return run(api::buffer_SetFX, text("%lu", count), [&] { return DSERR_CONTROLUNAVAIL; },
               [&] { return real8() ? real8()->SetFX(count, effects, results) : E_NOINTERFACE; });
}

HRESULT sound_buffer::AcquireResources(DWORD flags, DWORD count, LPDWORD results) {
    return run(api::buffer_AcquireResources, text("%lu,%lu", flags, count),
               [&] { return DSERR_INVALIDCALL; },
               [&] { return real8() ? real8()->AcquireResources(flags, count, results) : E_NOINTERFACE; });
}

HRESULT sound_buffer::GetObjectInPath(REFGUID object, DWORD index, REFGUID iid, LPVOID* out) {
    return run(api::buffer_GetObjectInPath, guid_text(object) + "," + text("%lu", index),
               [&] { return DSERR_CONTROLUNAVAIL; },
               [&] { return real8() ? real8()->GetObjectInPath(object, index, iid, out) : E_NOINTERFACE; });
}

}  // namespace faults
