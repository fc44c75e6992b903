#include "standin/fake_sound/fake_device.h"

#include <mmreg.h>

#include <cstdint>

#include "standin/traps/page_heap.h"

namespace fake_sound {
namespace {

using traps::page_heap;

// Memory the module never wrote reads as this, so a test comparing what was
// played against the sound file notices a short copy.
constexpr std::uint8_t unwritten = 0xA5;

// AddRef and Release for the fake objects, which the recording layer holds.
template <class com_interface>
class counted : public com_interface {
public:
    virtual ~counted() = default;
    STDMETHOD(QueryInterface)(REFIID, void** object) override {
        if (object) *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++refs_; }
    STDMETHOD_(ULONG, Release)() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

private:
    ULONG refs_ = 1;
};

// Its memory ends at a no-access page, so a write past a Lock region that
// reaches the buffer's end faults (see page_heap.h).
class fake_buffer final : public counted<IDirectSoundBuffer> {
public:
    fake_buffer(page_heap& heap, std::uint8_t* memory, DWORD bytes) : heap_(heap), memory_(memory), size_(bytes) {}
    ~fake_buffer() override { heap_.free_buffer_memory(memory_); }

    STDMETHOD(GetStatus)(LPDWORD status) override {
        if (!status) return DSERR_INVALIDPARAM;
        *status = playing_ ? DSBSTATUS_PLAYING | (looping_ ? DSBSTATUS_LOOPING : 0) : 0;
        return DS_OK;
    }
    STDMETHOD(Lock)(DWORD offset, DWORD bytes, LPVOID* ptr1, LPDWORD len1, LPVOID* ptr2, LPDWORD len2,
                    DWORD flags) override {
        if (!ptr1 || !len1) return DSERR_INVALIDPARAM;
        const DWORD size = size_;
        if (flags & DSBLOCK_ENTIREBUFFER) bytes = size;
        if (offset >= size || bytes > size) return DSERR_INVALIDPARAM;
        // A region running past the end wraps round to the start.
        const bool wraps = bytes > size - offset;
        *ptr1 = memory_ + offset;
        *len1 = wraps ? size - offset : bytes;
        if (ptr2) *ptr2 = wraps ? memory_ : nullptr;
        if (len2) *len2 = wraps && ptr2 ? bytes - *len1 : 0;
        return DS_OK;
    }
    STDMETHOD(Unlock)(LPVOID ptr1, DWORD len1, LPVOID ptr2, DWORD len2) override {
        return (ptr1 && !inside(ptr1, len1)) || (ptr2 && !inside(ptr2, len2)) ? DSERR_INVALIDPARAM : DS_OK;
    }
    STDMETHOD(SetCurrentPosition)(DWORD) override { return DS_OK; }
    STDMETHOD(Play)(DWORD, DWORD, DWORD flags) override {
        playing_ = true;
        looping_ = flags & DSBPLAY_LOOPING;
        return DS_OK;
    }
    STDMETHOD(Stop)() override {
        playing_ = false;
        return DS_OK;
    }
    STDMETHOD(GetCaps)(LPDSBCAPS) override { return E_NOTIMPL; }
    STDMETHOD(GetCurrentPosition)(LPDWORD, LPDWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetFormat)(LPWAVEFORMATEX, DWORD, LPDWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetVolume)(LPLONG) override { return E_NOTIMPL; }
    STDMETHOD(GetPan)(LPLONG) override { return E_NOTIMPL; }
    STDMETHOD(GetFrequency)(LPDWORD) override { return E_NOTIMPL; }
    STDMETHOD(Initialize)(LPDIRECTSOUND, LPCDSBUFFERDESC) override { return E_NOTIMPL; }
    STDMETHOD(SetFormat)(LPCWAVEFORMATEX) override { return E_NOTIMPL; }
    STDMETHOD(SetVolume)(LONG) override { return E_NOTIMPL; }
    STDMETHOD(SetPan)(LONG) override { return E_NOTIMPL; }
    STDMETHOD(SetFrequency)(DWORD) override { return E_NOTIMPL; }
    STDMETHOD(Restore)() override { return E_NOTIMPL; }

private:
    bool inside(const void* p, DWORD len) const {
        auto b = static_cast<const std::uint8_t*>(p);
        return b >= memory_ && b + len <= memory_ + size_;
    }

    page_heap& heap_;
    std::uint8_t* memory_;
    DWORD size_;
    bool playing_ = false;
    bool looping_ = false;
};

class fake_device final : public counted<IDirectSound> {
public:
    explicit fake_device(page_heap& heap) : heap_(heap) {}

    STDMETHOD(CreateSoundBuffer)(LPCDSBUFFERDESC desc, LPLPDIRECTSOUNDBUFFER buffer, IUnknown*) override {
        DWORD bytes = 0;
        if (!buffer) return DSERR_INVALIDPARAM;
        const HRESULT hr = check_buffer_desc(desc, &bytes);
        if (FAILED(hr)) return hr;
        std::uint8_t* memory = heap_.buffer_memory(bytes, unwritten);
        if (!memory) return DSERR_OUTOFMEMORY;
        *buffer = new fake_buffer(heap_, memory, bytes);
        return hr;
    }
    // Wine takes any window and level.
    STDMETHOD(SetCooperativeLevel)(HWND, DWORD) override { return DS_OK; }
    STDMETHOD(GetCaps)(LPDSCAPS) override { return E_NOTIMPL; }
    STDMETHOD(DuplicateSoundBuffer)(LPDIRECTSOUNDBUFFER, LPLPDIRECTSOUNDBUFFER) override { return E_NOTIMPL; }
    STDMETHOD(Compact)() override { return E_NOTIMPL; }
    STDMETHOD(GetSpeakerConfig)(LPDWORD) override { return E_NOTIMPL; }
    STDMETHOD(SetSpeakerConfig)(DWORD) override { return E_NOTIMPL; }
    STDMETHOD(Initialize)(LPCGUID) override { return E_NOTIMPL; }

private:
    page_heap& heap_;
};

}  // namespace

HRESULT fake_direct_sound_create(page_heap& heap, LPCGUID device, LPDIRECTSOUND* out, LPUNKNOWN outer) {
    const bool default_device = !device || IsEqualGUID(*device, DSDEVID_DefaultPlayback) ||
                                IsEqualGUID(*device, DSDEVID_DefaultVoicePlayback);
    if (!out || outer || !default_device) return DSERR_INVALIDPARAM;
    *out = new fake_device(heap);
    return DS_OK;
}

HRESULT check_buffer_desc(const DSBUFFERDESC* desc, DWORD* bytes) {
    if (!desc || (desc->dwSize != sizeof(DSBUFFERDESC) && desc->dwSize != sizeof(DSBUFFERDESC1)))
        return DSERR_INVALIDPARAM;
    const WAVEFORMATEX* f = desc->lpwfxFormat;
    if ((desc->dwFlags & DSBCAPS_PRIMARYBUFFER) || !f) return DSERR_INVALIDPARAM;
    if (f->wFormatTag != WAVE_FORMAT_PCM && f->wFormatTag != WAVE_FORMAT_IEEE_FLOAT &&
        f->wFormatTag != WAVE_FORMAT_EXTENSIBLE)
        return E_NOTIMPL;
    if (f->wFormatTag == WAVE_FORMAT_EXTENSIBLE && f->cbSize < sizeof(WAVEFORMATEXTENSIBLE) - sizeof(WAVEFORMATEX))
        return DSERR_INVALIDPARAM;
    if (f->nChannels == 0 || f->nBlockAlign == 0 || f->nAvgBytesPerSec == 0 ||
        f->nBlockAlign != f->nChannels * f->wBitsPerSample / 8)
        return DSERR_INVALIDPARAM;
    // The sample sizes and rates the device is documented to play; Wine's
    // takes more and crashes on some of them.
    const WORD bits = f->wBitsPerSample;
    if (f->wFormatTag == WAVE_FORMAT_PCM && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return DSERR_BADFORMAT;
    if (f->wFormatTag == WAVE_FORMAT_IEEE_FLOAT && bits != 32 && bits != 64) return DSERR_BADFORMAT;
    if (f->nSamplesPerSec < DSBFREQUENCY_MIN || f->nSamplesPerSec > 200000) return DSERR_INVALIDPARAM;
    if (desc->dwBufferBytes < DSBSIZE_MIN || desc->dwBufferBytes > DSBSIZE_MAX) return DSERR_INVALIDPARAM;
    const DWORD align = f->nBlockAlign;
    *bytes = (desc->dwBufferBytes + align - 1) / align * align;
    return DS_OK;
}

}  // namespace fake_sound
