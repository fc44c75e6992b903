#include "standin/faults/fake_buffer.h"

#include <mmreg.h>

#include <cstring>

namespace faults {
namespace {

// Wine's primary buffer: 64 KiB, 44.1 kHz 16-bit stereo until SetFormat.
constexpr DWORD primary_bytes = 65536;
constexpr WAVEFORMATEX primary_format{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};

// Memory the module never wrote reads as this, so a test comparing what was
// played against the sound file notices a short copy.
constexpr std::uint8_t unwritten = 0xA5;

WAVEFORMATEX copy_format(const WAVEFORMATEX* format) {
    WAVEFORMATEX f{};
    std::memcpy(&f, format, sizeof f);
    return f;
}

}  // namespace

HRESULT check_buffer_desc(const DSBUFFERDESC* desc, DWORD* bytes) {
    if (!desc || (desc->dwSize != sizeof(DSBUFFERDESC) && desc->dwSize != sizeof(DSBUFFERDESC1)))
        return DSERR_INVALIDPARAM;
    if (desc->dwFlags & DSBCAPS_PRIMARYBUFFER) {
        if (desc->lpwfxFormat) return DSERR_INVALIDPARAM;
        *bytes = primary_bytes;
        return DS_OK;
    }
    const WAVEFORMATEX* f = desc->lpwfxFormat;
    if (!f) return DSERR_INVALIDPARAM;
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
    if (desc->dwBufferBytes < DSBSIZE_MIN || desc->dwBufferBytes > DSBSIZE_MAX)
        return DSERR_INVALIDPARAM;
    DWORD align = f->nBlockAlign;
    *bytes = (desc->dwBufferBytes + align - 1) / align * align;
    return DS_OK;
}

fake_buffer::fake_buffer(const DSBUFFERDESC& desc, DWORD bytes, const play_clock& clock)
    : clock_(clock),
      flags_(desc.dwFlags),
      format_(desc.lpwfxFormat ? copy_format(desc.lpwfxFormat) : primary_format),
      memory_(std::make_shared<std::vector<std::uint8_t>>(bytes, unwritten)),
      frequency_(format_.nSamplesPerSec) {
    if (!(flags_ & (DSBCAPS_LOCHARDWARE | DSBCAPS_LOCSOFTWARE))) flags_ |= DSBCAPS_LOCSOFTWARE;
}

std::unique_ptr<fake_buffer> fake_buffer::duplicate() const {
    std::unique_ptr<fake_buffer> copy(new fake_buffer(*this));
    copy->position_ = 0;
    copy->playing_ = false;
    copy->looping_ = false;
    copy->lost_ = false;
    return copy;
}

DWORD fake_buffer::bytes_per_second() const { return frequency_ * format_.nBlockAlign; }

void fake_buffer::advance() {
    if (clock_ != play_clock::real_time || !playing_) return;
    ULONGLONG played = (GetTickCount64() - started_) * bytes_per_second() / 1000;
    ULONGLONG at = start_position_ + played;
    DWORD size = static_cast<DWORD>(memory_->size());
    if (!looping_ && at >= size) {
        finish();
        return;
    }
    position_ = static_cast<DWORD>(at % size);
    position_ -= position_ % format_.nBlockAlign;
}

bool fake_buffer::region_ok(const void* p, DWORD len) const {
    auto b = static_cast<const std::uint8_t*>(p);
    const std::uint8_t* begin = memory_->data();
    return b >= begin && b + len <= begin + memory_->size();
}

HRESULT fake_buffer::get_caps(DSBCAPS* caps) const {
    if (!caps || caps->dwSize != sizeof(DSBCAPS)) return DSERR_INVALIDPARAM;
    caps->dwFlags = flags_;
    caps->dwBufferBytes = static_cast<DWORD>(memory_->size());
    caps->dwUnlockTransferRate = 0;
    caps->dwPlayCpuOverhead = 0;
    return DS_OK;
}

HRESULT fake_buffer::get_current_position(DWORD* play, DWORD* write) {
    advance();
    if (play) *play = position_;
    if (write) *write = position_;
    return DS_OK;
}

HRESULT fake_buffer::get_format(WAVEFORMATEX* format, DWORD allocated, DWORD* written) const {
    if (!format) {
        if (!written) return DSERR_INVALIDPARAM;
        *written = sizeof(WAVEFORMATEX);
        return DS_OK;
    }
    if (allocated < sizeof(WAVEFORMATEX)) return DSERR_INVALIDPARAM;
    *format = format_;
    if (written) *written = sizeof(WAVEFORMATEX);
    return DS_OK;
}

HRESULT fake_buffer::get_volume(LONG* volume) const {
    if (!(flags_ & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
    if (!volume) return DSERR_INVALIDPARAM;
    *volume = volume_;
    return DS_OK;
}

HRESULT fake_buffer::get_pan(LONG* pan) const {
    if (!(flags_ & DSBCAPS_CTRLPAN)) return DSERR_CONTROLUNAVAIL;
    if (!pan) return DSERR_INVALIDPARAM;
    *pan = pan_;
    return DS_OK;
}

HRESULT fake_buffer::get_frequency(DWORD* frequency) const {
    if (!frequency) return DSERR_INVALIDPARAM;
    *frequency = frequency_;
    return DS_OK;
}

HRESULT fake_buffer::get_status(DWORD* status) {
    if (!status) return DSERR_INVALIDPARAM;
    advance();
    *status = (playing_ ? DSBSTATUS_PLAYING : 0) | (playing_ && looping_ ? DSBSTATUS_LOOPING : 0) |
              (lost_ ? DSBSTATUS_BUFFERLOST : 0);
    return DS_OK;
}

HRESULT fake_buffer::lock(DWORD offset, DWORD bytes, void** ptr1, DWORD* len1, void** ptr2,
                          DWORD* len2, DWORD flags, DWORD level) {
    if (lost_) return DSERR_BUFFERLOST;
    if (primary() && level < DSSCL_WRITEPRIMARY) return DSERR_PRIOLEVELNEEDED;
    if (!ptr1 || !len1) return DSERR_INVALIDPARAM;
    DWORD size = static_cast<DWORD>(memory_->size());
    if (flags & DSBLOCK_FROMWRITECURSOR) {
        advance();
        offset = position_;
    }
    if (flags & DSBLOCK_ENTIREBUFFER) bytes = size;
    if (offset >= size || bytes > size) return DSERR_INVALIDPARAM;
    std::uint8_t* base = memory_->data();
    *ptr1 = base + offset;
    bool wraps = bytes > size - offset;
    *len1 = wraps ? size - offset : bytes;
    if (ptr2) *ptr2 = wraps ? base : nullptr;
    if (len2) *len2 = wraps && ptr2 ? bytes - *len1 : 0;
    return DS_OK;
}

HRESULT fake_buffer::play(DWORD flags) {
    if (lost_) return DSERR_BUFFERLOST;
    if (primary() && !(flags & DSBPLAY_LOOPING)) return DSERR_INVALIDPARAM;
    advance();
    if (!playing_) {
        started_ = GetTickCount64();
        start_position_ = position_;
    }
    playing_ = true;
    looping_ = flags & DSBPLAY_LOOPING;
    return DS_OK;
}

HRESULT fake_buffer::set_current_position(DWORD position) {
    DWORD size = static_cast<DWORD>(memory_->size());
    position %= size;
    position_ = position - position % format_.nBlockAlign;
    started_ = GetTickCount64();
    start_position_ = position_;
    return DS_OK;
}

HRESULT fake_buffer::set_format(const WAVEFORMATEX* format, DWORD level) {
    if (!primary()) return DSERR_INVALIDCALL;
    if (level < DSSCL_PRIORITY) return DSERR_PRIOLEVELNEEDED;
    if (!format) return DSERR_INVALIDPARAM;
    format_ = copy_format(format);
    frequency_ = format_.nSamplesPerSec;
    return DS_OK;
}

HRESULT fake_buffer::set_volume(LONG volume) {
    if (!(flags_ & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
    if (volume > DSBVOLUME_MAX || volume < DSBVOLUME_MIN) return DSERR_INVALIDPARAM;
    volume_ = volume;
    return DS_OK;
}

HRESULT fake_buffer::set_pan(LONG pan) {
    if (!(flags_ & DSBCAPS_CTRLPAN)) return DSERR_CONTROLUNAVAIL;
    if (pan > DSBPAN_RIGHT || pan < DSBPAN_LEFT) return DSERR_INVALIDPARAM;
    pan_ = pan;
    return DS_OK;
}

HRESULT fake_buffer::set_frequency(DWORD frequency) {
    if (!(flags_ & DSBCAPS_CTRLFREQUENCY)) return DSERR_CONTROLUNAVAIL;
    if (frequency == DSBFREQUENCY_ORIGINAL) frequency = format_.nSamplesPerSec;
    if (frequency < DSBFREQUENCY_MIN || frequency > DSBFREQUENCY_MAX) return DSERR_INVALIDPARAM;
    advance();
    start_position_ = position_;
    started_ = GetTickCount64();
    frequency_ = frequency;
    return DS_OK;
}

HRESULT fake_buffer::stop() {
    advance();
    playing_ = false;
    return DS_OK;
}

HRESULT fake_buffer::unlock(const void* ptr1, DWORD len1, const void* ptr2, DWORD len2) const {
    if ((ptr1 && !region_ok(ptr1, len1)) || (ptr2 && !region_ok(ptr2, len2)))
        return DSERR_INVALIDPARAM;
    return DS_OK;
}

HRESULT fake_buffer::restore() {
    lost_ = false;
    return DS_OK;
}

void fake_buffer::finish() {
    playing_ = false;
    looping_ = false;
    position_ = 0;
}

void fake_buffer::lose() {
    lost_ = true;
    playing_ = false;
}

}  // namespace faults
