#include "standin/faults/sound_device.h"

#include <cstring>

#include "standin/faults/describe.h"
#include "standin/faults/fake_buffer.h"
#include "standin/faults/ledger.h"
#include "standin/faults/sound_buffer.h"

namespace faults {

sound_device::sound_device(fake_dsound& stage, int id, IDirectSound* real)
    : object_(stage, "device", id), real_(real) {}

sound_device::~sound_device() {
    if (real_) real_->Release();
}

void sound_device::drop_real_if_unused() {
    if (real_ && !object_.alive() && object_.stage().buffers_alive_of(*this) == 0) {
        real_->Release();
        real_ = nullptr;
    }
}

void sound_device::buffer_gone() { drop_real_if_unused(); }

sound_buffer& sound_device::hand_out(std::uint64_t seq, std::unique_ptr<fake_buffer> fake,
                                     IDirectSoundBuffer* real) {
    fake_dsound& stage = object_.stage();
    if (sound_buffer* known = real ? stage.proxy_of(real) : nullptr) {
        real->Release();  // the proxy already holds its reference
        known->object().grab(seq);
        return *known;
    }
    return stage.add_buffer(std::make_unique<sound_buffer>(stage, stage.next_buffer_id(), *this,
                                                           std::move(fake), real));
}

HRESULT sound_device::QueryInterface(REFIID riid, void** object) {
    auto guard = object_.stage().owner().lock();
    sound_object::call c = object_.begin(api::device_QueryInterface, guid_text(riid));
    if (!object) return c.stop ? c.result : DSERR_INVALIDPARAM;
    *object = nullptr;
    if (c.stop) return c.result;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDirectSound)) {
        *object = static_cast<IDirectSound*>(this);
        object_.grab(c.seq);
        return sound_object::finish(c, S_OK);
    }
    // A device from DirectSoundCreate (not DirectSoundCreate8) offers no more.
    if (!real_) return E_NOINTERFACE;
    HRESULT hr = real_->QueryInterface(riid, object);
    if (SUCCEEDED(hr))
        object_.stage().owner().problem(object_.label() + ".QueryInterface(" + guid_text(riid) +
                                        ") handed out the real interface; its references are not counted");
    return sound_object::finish(c, hr);
}

ULONG sound_device::AddRef() {
    auto guard = object_.stage().owner().lock();
    return object_.add_ref(api::device_AddRef);
}

ULONG sound_device::Release() {
    auto guard = object_.stage().owner().lock();
    bool was_alive = object_.alive();
    ULONG left = object_.release(api::device_Release);
    if (was_alive && left == 0) {
        fake_dsound& stage = object_.stage();
        if (std::size_t n = stage.buffers_alive_of(*this)) {
            stage.owner().problem(text("%s released while %u of its buffers still have references; "
                                       "DirectSound destroys them with it",
                                       object_.label().c_str(), static_cast<unsigned>(n)));
            stage.orphan_buffers_of(*this);
        }
        drop_real_if_unused();
    }
    return left;
}

HRESULT sound_device::CreateSoundBuffer(LPCDSBUFFERDESC desc, LPLPDIRECTSOUNDBUFFER buffer,
                                        IUnknown* outer) {
    auto guard = object_.stage().owner().lock();
    ledger& l = object_.stage().owner();
    sound_object::call c = object_.begin(
        api::device_CreateSoundBuffer,
        desc ? text("0x%lx,%lu", desc->dwFlags, desc->dwBufferBytes) : std::string("null"));
    buffer_request record{{c.seq, c.injected}, object_.id(), desc != nullptr};
    if (desc) {
        record.size = desc->dwSize;
        record.flags = desc->dwFlags;
        record.bytes = desc->dwBufferBytes;
        record.reserved = desc->dwReserved;
        record.format_ptr = desc->lpwfxFormat;
        if (desc->lpwfxFormat) std::memcpy(&record.format, desc->lpwfxFormat, sizeof record.format);
        record.format_in_module = l.in_module(desc->lpwfxFormat);
        record.format_block = l.block_containing(desc->lpwfxFormat);
        if (desc->dwSize >= sizeof(DSBUFFERDESC)) record.algorithm = desc->guid3DAlgorithm;
    }
    record.outer = outer;
    HRESULT hr = c.result;
    if (!c.stop && real_) {
        IDirectSoundBuffer* real = nullptr;
        hr = real_->CreateSoundBuffer(desc, buffer ? &real : nullptr, outer);
        if (SUCCEEDED(hr) && buffer) {
            sound_buffer& b = hand_out(c.seq, nullptr, real);
            *buffer = b.as_buffer();
            record.buffer = b.object().id();
        }
    } else if (!c.stop) {
        DWORD bytes = 0;
        hr = buffer ? check_buffer_desc(desc, &bytes) : DSERR_INVALIDPARAM;
        if (SUCCEEDED(hr)) {
            bool primary = desc->dwFlags & DSBCAPS_PRIMARYBUFFER;
            sound_buffer* b = primary ? primary_ : nullptr;
            if (b && b->object().alive()) {
                b->object().grab(c.seq);
            } else {
                b = &hand_out(c.seq,
                              std::make_unique<fake_buffer>(*desc, bytes, object_.stage().clock()),
                              nullptr);
                if (primary) primary_ = b;
            }
            *buffer = b->as_buffer();
            record.buffer = b->object().id();
        }
    }
    if (!c.stop) hr = sound_object::finish(c, hr);
    record.result = hr;
    object_.stage().records().buffer_requests.push_back(record);
    return hr;
}

HRESULT sound_device::GetCaps(LPDSCAPS caps) {
    auto guard = object_.stage().owner().lock();
    sound_object::call c = object_.begin(api::device_GetCaps, "");
    if (c.stop) return c.result;
    if (real_) return sound_object::finish(c, real_->GetCaps(caps));
    if (!caps || caps->dwSize != sizeof(DSCAPS)) return DSERR_INVALIDPARAM;
    std::memset(reinterpret_cast<BYTE*>(caps) + sizeof caps->dwSize, 0, sizeof *caps - sizeof caps->dwSize);
    caps->dwFlags = DSCAPS_PRIMARYMONO | DSCAPS_PRIMARYSTEREO | DSCAPS_PRIMARY8BIT |
                    DSCAPS_PRIMARY16BIT | DSCAPS_CONTINUOUSRATE | DSCAPS_SECONDARYMONO |
                    DSCAPS_SECONDARYSTEREO | DSCAPS_SECONDARY8BIT | DSCAPS_SECONDARY16BIT;
    caps->dwMinSecondarySampleRate = DSBFREQUENCY_MIN;
    caps->dwMaxSecondarySampleRate = DSBFREQUENCY_MAX;
    caps->dwPrimaryBuffers = 1;
    return sound_object::finish(c, DS_OK);
}

HRESULT sound_device::DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER original,
                                           LPLPDIRECTSOUNDBUFFER duplicate) {
    auto guard = object_.stage().owner().lock();
    fake_dsound& stage = object_.stage();
    sound_buffer* source = stage.ours(original);
    sound_object::call c = object_.begin(api::device_DuplicateSoundBuffer,
                                         source ? source->object().label() : pointer_text(original));
    if (c.stop) return c.result;
    if (!original || !duplicate) return DSERR_INVALIDPARAM;
    if (!source || !source->object().alive()) {
        stage.owner().problem(object_.label() + ".DuplicateSoundBuffer(" + pointer_text(original) +
                              "): not a live buffer of this device");
        return DSERR_INVALIDPARAM;
    }
    HRESULT hr;
    if (real_) {
        IDirectSoundBuffer* real = nullptr;
        hr = real_->DuplicateSoundBuffer(source->real(), &real);
        if (SUCCEEDED(hr)) *duplicate = hand_out(c.seq, nullptr, real).as_buffer();
    } else if (source->fake()->primary()) {
        hr = DSERR_INVALIDCALL;
    } else {
        *duplicate = hand_out(c.seq, source->fake()->duplicate(), nullptr).as_buffer();
        hr = DS_OK;
    }
    return sound_object::finish(c, hr);
}

HRESULT sound_device::SetCooperativeLevel(HWND window, DWORD level) {
    auto guard = object_.stage().owner().lock();
    sound_object::call c = object_.begin(api::device_SetCooperativeLevel,
                                         pointer_text(window) + text(",%lu", level));
    HRESULT hr = c.result;
    if (!c.stop) {
        // Wine accepts any window and level.
        hr = real_ ? real_->SetCooperativeLevel(window, level) : DS_OK;
        if (SUCCEEDED(hr)) level_ = level;
        hr = sound_object::finish(c, hr);
    }
    object_.stage().records().cooperative_levels.push_back(
        {{c.seq, c.injected}, object_.id(), window, level, hr});
    return hr;
}

HRESULT sound_device::Compact() {
    auto guard = object_.stage().owner().lock();
    sound_object::call c = object_.begin(api::device_Compact, "");
    if (c.stop) return c.result;
    if (real_) return sound_object::finish(c, real_->Compact());
    return sound_object::finish(c, level_ < DSSCL_PRIORITY ? DSERR_PRIOLEVELNEEDED : DS_OK);
}

HRESULT sound_device::GetSpeakerConfig(LPDWORD config) {
    auto guard = object_.stage().owner().lock();
    sound_object::call c = object_.begin(api::device_GetSpeakerConfig, "");
    if (c.stop) return c.result;
    if (real_) return sound_object::finish(c, real_->GetSpeakerConfig(config));
    if (!config) return DSERR_INVALIDPARAM;
    *config = speakers_;
    return sound_object::finish(c, DS_OK);
}

HRESULT sound_device::SetSpeakerConfig(DWORD config) {
    auto guard = object_.stage().owner().lock();
    sound_object::call c = object_.begin(api::device_SetSpeakerConfig, text("0x%lx", config));
    if (c.stop) return c.result;
    if (real_) return sound_object::finish(c, real_->SetSpeakerConfig(config));
    speakers_ = config;
    return sound_object::finish(c, DS_OK);
}

HRESULT sound_device::Initialize(LPCGUID device) {
    auto guard = object_.stage().owner().lock();
    sound_object::call c = object_.begin(api::device_Initialize, device ? guid_text(*device) : "null");
    if (c.stop) return c.result;
    return sound_object::finish(c, real_ ? real_->Initialize(device) : DSERR_ALREADYINITIALIZED);
}

}  // namespace faults
