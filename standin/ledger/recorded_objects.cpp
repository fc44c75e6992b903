#include "standin/ledger/recorded_objects.h"

#include <cstring>
#include <utility>

#include "standin/log/value_text.h"

namespace faults {
namespace {

// "buffer.Play" -> "Play"
const char* method_name(api method) {
    const char* name = api_name(method);
    const char* dot = std::strchr(name, '.');
    return dot ? dot + 1 : name;
}

}  // namespace

recorded_object::recorded_object(object_keeper& recorder, const char* kind, int id)
    : recorder_(recorder), kind_(kind), id_(id) {}

std::string recorded_object::label() const { return standin::printf_text("%s#%d", kind_, id_); }

recorded_object::call recorded_object::begin(api method, const std::string& args) {
    call_gate& l = recorder_.gate();
    call c{l.lock()};
    const verdict v = l.enter(method);
    c.mark = {v.seq, v.fail};
    c.code = v.code;
    const std::string what = label() + "." + method_name(method) + "(" + args + ")";
    recorder_.records().sequence.push_back(what);
    if (!alive()) {
        l.problem(what + " after its last Release");
        c.stop = true;
        c.result = DSERR_GENERIC;
    } else if (v.fail && FAILED(v.code)) {
        c.stop = true;
        c.result = v.code;
    }
    return c;
}

HRESULT recorded_object::finish(const call& c, HRESULT result) {
    return c.mark.injected && result == S_OK ? c.code : result;
}

HRESULT recorded_object::unexpected(const char* method) {
    call_gate& l = recorder_.gate();
    auto guard = l.lock();
    const std::string what = label() + "." + method + "()";
    recorder_.records().sequence.push_back(what);
    l.problem("unexpected call " + what);
    return E_NOTIMPL;
}

HRESULT recorded_object::unexpected_query(void** object) {
    if (object) *object = nullptr;
    unexpected("QueryInterface");
    return E_NOINTERFACE;
}

ULONG recorded_object::unexpected_add_ref() {
    unexpected("AddRef");
    return refs_;
}

ULONG recorded_object::release(api method) {
    call c = begin(method, "");
    if (!c.stop) --refs_;
    recorder_.records().refs.push_back({c.mark, label(), refs_});
    return refs_;
}

recorded_device::recorded_device(object_keeper& recorder, int id, IDirectSound* inner)
    : recorded_object(recorder, "device", id), inner_(inner) {}

recorded_device::~recorded_device() {
    if (inner_) inner_->Release();
}

void recorded_device::drop_inner_if_unused() {
    if (inner_ && !alive() && live_buffers_ == 0) {
        inner_->Release();
        inner_ = nullptr;
    }
}

void recorded_device::buffer_gone() {
    --live_buffers_;
    drop_inner_if_unused();
}

ULONG recorded_device::Release() {
    auto guard = recorder_.gate().lock();
    const bool was_alive = alive();
    const ULONG left = release(api::device_Release);
    if (was_alive && left == 0) {
        if (live_buffers_)
            recorder_.gate().problem(standin::printf_text("%s released while %u of its buffers still have references",
                                           label().c_str(), static_cast<unsigned>(live_buffers_)));
        drop_inner_if_unused();
    }
    return left;
}

HRESULT recorded_device::CreateSoundBuffer(LPCDSBUFFERDESC desc, LPLPDIRECTSOUNDBUFFER buffer, IUnknown* outer) {
    call c = begin(api::device_CreateSoundBuffer,
                   desc ? standin::hex_text(desc->dwFlags) + standin::printf_text(",%lu", desc->dwBufferBytes) : std::string("null"));
    buffer_request record{c.mark, id()};
    if (desc) {
        record.size = desc->dwSize;
        record.flags = desc->dwFlags;
        record.bytes = desc->dwBufferBytes;
        record.reserved = desc->dwReserved;
        if (desc->lpwfxFormat) std::memcpy(&record.format, desc->lpwfxFormat, sizeof record.format);
        if (desc->dwSize >= sizeof(DSBUFFERDESC)) record.algorithm = desc->guid3DAlgorithm;
    }
    record.outer = outer;
    HRESULT hr = c.result;
    if (!c.stop) {
        IDirectSoundBuffer* inner = nullptr;
        hr = inner_->CreateSoundBuffer(desc, buffer ? &inner : nullptr, outer);
        if (SUCCEEDED(hr) && buffer) {
            recorded_buffer& b = recorder_.add_buffer(*this, inner);
            ++live_buffers_;
            *buffer = &b;
            record.buffer = b.id();
        }
        hr = finish(c, hr);
    }
    record.result = hr;
    recorder_.records().buffer_requests.push_back(record);
    return hr;
}

HRESULT recorded_device::SetCooperativeLevel(HWND window, DWORD level) {
    call c = begin(api::device_SetCooperativeLevel, standin::pointer_text(window) + standin::printf_text(",%lu", level));
    const HRESULT hr = c.stop ? c.result : finish(c, inner_->SetCooperativeLevel(window, level));
    recorder_.records().cooperative_levels.push_back({c.mark, id(), window, level, hr});
    return hr;
}

recorded_buffer::recorded_buffer(object_keeper& recorder, int id, recorded_device& device,
                                 IDirectSoundBuffer* inner)
    : recorded_object(recorder, "buffer", id), device_(device), inner_(inner) {}

recorded_buffer::~recorded_buffer() {
    if (inner_) inner_->Release();
}

bool recorded_buffer::finish_playing() { return inner_ && inner_->Stop() == DS_OK; }

std::vector<std::uint8_t> recorded_buffer::snapshot() {
    void* p1 = nullptr;
    void* p2 = nullptr;
    DWORD l1 = 0, l2 = 0;
    if (!inner_ || FAILED(inner_->Lock(0, 0, &p1, &l1, &p2, &l2, DSBLOCK_ENTIREBUFFER))) return {};
    std::vector<std::uint8_t> bytes(static_cast<std::uint8_t*>(p1), static_cast<std::uint8_t*>(p1) + l1);
    if (p2) bytes.insert(bytes.end(), static_cast<std::uint8_t*>(p2), static_cast<std::uint8_t*>(p2) + l2);
    inner_->Unlock(p1, 0, p2, 0);  // writes nothing back
    return bytes;
}

ULONG recorded_buffer::Release() {
    auto guard = recorder_.gate().lock();
    const bool was_alive = alive();
    const ULONG left = release(api::buffer_Release);
    if (was_alive && left == 0) {
        inner_->Release();
        inner_ = nullptr;
        device_.buffer_gone();
    }
    return left;
}

HRESULT recorded_buffer::GetStatus(LPDWORD status) {
    call c = begin(api::buffer_GetStatus, "");
    return c.stop ? c.result : finish(c, inner_->GetStatus(status));
}

HRESULT recorded_buffer::Stop() {
    call c = begin(api::buffer_Stop, "");
    return c.stop ? c.result : finish(c, inner_->Stop());
}

HRESULT recorded_buffer::Lock(DWORD offset, DWORD bytes, LPVOID* ptr1, LPDWORD len1, LPVOID* ptr2, LPDWORD len2,
                              DWORD flags) {
    call c = begin(api::buffer_Lock, standin::printf_text("%lu,%lu,%lu", offset, bytes, flags));
    lock_call record{c.mark, id(), offset, bytes, flags};
    HRESULT hr = c.result;
    if (!c.stop && ptr2 && !len2) {
        // Wine writes the second length without checking the pointer.
        recorder_.gate().problem(label() + ".Lock with a second region pointer but no length pointer");
        hr = DSERR_INVALIDPARAM;
    } else if (!c.stop) {
        hr = inner_->Lock(offset, bytes, ptr1, len1, ptr2, len2, flags);
        if (SUCCEEDED(hr)) {
            record.ptr1 = *ptr1;
            record.len1 = *len1;
            record.ptr2 = ptr2 ? *ptr2 : nullptr;
            record.len2 = len2 ? *len2 : 0;
        }
        hr = finish(c, hr);
    }
    record.result = hr;
    recorder_.records().locks.push_back(record);
    return hr;
}

HRESULT recorded_buffer::Unlock(LPVOID ptr1, DWORD len1, LPVOID ptr2, DWORD len2) {
    call c = begin(api::buffer_Unlock, standin::printf_text("%lu,%lu", len1, len2));
    unlock_call record{c.mark, id(), ptr1, len1, ptr2, len2};
    record.result = c.stop ? c.result : finish(c, inner_->Unlock(ptr1, len1, ptr2, len2));
    recorder_.records().unlocks.push_back(record);
    return record.result;
}

HRESULT recorded_buffer::Play(DWORD reserved, DWORD priority, DWORD flags) {
    call c = begin(api::buffer_Play, standin::printf_text("%lu,%lu,%lu", reserved, priority, flags));
    play_call record{c.mark, id(), reserved, priority, flags};
    record.contents = snapshot();
    record.result = c.stop ? c.result : finish(c, inner_->Play(reserved, priority, flags));
    const HRESULT hr = record.result;
    recorder_.records().plays.push_back(std::move(record));
    return hr;
}

HRESULT recorded_buffer::SetCurrentPosition(DWORD position) {
    call c = begin(api::buffer_SetCurrentPosition, standin::printf_text("%lu", position));
    const HRESULT hr = c.stop ? c.result : finish(c, inner_->SetCurrentPosition(position));
    recorder_.records().positions.push_back({c.mark, id(), position, hr});
    return hr;
}

}  // namespace faults
