#include "bench/floor_click.h"

#include <mmsystem.h>

#include <cstring>
#include <utility>

floor_click::floor_click(IDirectSound* device, std::string clip_path)
    : clip_path_(std::move(clip_path)), device_(device) {
    device_->AddRef();
}

floor_click::~floor_click() {
    for (IDirectSoundBuffer*& buffer : buffers_)
        if (buffer) buffer->Release();
    device_->Release();
}

bool floor_click::read_clip(WAVEFORMATEX* format, HGLOBAL* block, DWORD* bytes) {
    HMMIO file = mmioOpenA(clip_path_.data(), nullptr, MMIO_ALLOCBUF | MMIO_READ);
    if (!file) return false;
    MMCKINFO riff = {}, chunk = {};
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
    bool ok = mmioDescend(file, &riff, nullptr, MMIO_FINDRIFF) == MMSYSERR_NOERROR &&
              mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK) == MMSYSERR_NOERROR &&
              mmioRead(file, reinterpret_cast<HPSTR>(format), 16) == 16 &&
              mmioAscend(file, &chunk, 0) == MMSYSERR_NOERROR;
    format->cbSize = 0;
    chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
    ok = ok && mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK) == MMSYSERR_NOERROR && chunk.cksize > 0;
    *block = ok ? GlobalAlloc(GMEM_MOVEABLE, chunk.cksize) : nullptr;
    void* samples = *block ? GlobalLock(*block) : nullptr;
    ok = samples && mmioRead(file, static_cast<HPSTR>(samples), LONG(chunk.cksize)) == LONG(chunk.cksize);
    if (samples) GlobalUnlock(*block);
    mmioClose(file, 0);
    *bytes = chunk.cksize;
    return ok;
}

void floor_click::make_room() {
    int kept = 0;
    for (IDirectSoundBuffer*& buffer : buffers_) {
        if (!buffer) continue;
        DWORD status = 0;
        if (buffer->GetStatus(&status) == DS_OK && (status & DSBSTATUS_PLAYING)) {
            buffers_[kept++] = buffer;
        } else {
            buffer->Release();
        }
        if (&buffer - buffers_ >= kept) buffer = nullptr;
    }
    if (kept == kept_buffers) {
        buffers_[0]->Stop();
        buffers_[0]->Release();
        std::memmove(buffers_, buffers_ + 1, sizeof(buffers_[0]) * (kept_buffers - 1));
        buffers_[kept_buffers - 1] = nullptr;
    }
}

bool floor_click::play(const WAVEFORMATEX& format, const void* samples, DWORD bytes) {
    make_room();
    IDirectSoundBuffer** slot = buffers_;
    while (*slot) ++slot;
    DSBUFFERDESC description = {};
    description.dwSize = sizeof description;
    description.dwFlags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
    description.dwBufferBytes = bytes;
    description.lpwfxFormat = const_cast<WAVEFORMATEX*>(&format);
    if (device_->CreateSoundBuffer(&description, slot, nullptr) != DS_OK) {
        *slot = nullptr;
        return false;
    }
    void *first = nullptr, *second = nullptr;
    DWORD first_bytes = 0, second_bytes = 0;
    if ((*slot)->Lock(0, bytes, &first, &first_bytes, &second, &second_bytes, 0) != DS_OK) return false;
    std::memcpy(first, samples, first_bytes);
    if (second) std::memcpy(second, static_cast<const char*>(samples) + first_bytes, second_bytes);
    return (*slot)->Unlock(first, first_bytes, second, second_bytes) == DS_OK &&
           (*slot)->SetCurrentPosition(0) == DS_OK && (*slot)->Play(0, 0, 0) == DS_OK;
}

bool floor_click::click() {
    WAVEFORMATEX format = {};
    HGLOBAL block = nullptr;
    DWORD bytes = 0;
    bool ok = read_clip(&format, &block, &bytes);
    if (ok) {
        void* samples = GlobalLock(block);
        ok = samples && play(format, samples, bytes);
        if (samples) GlobalUnlock(block);
    }
    if (block) GlobalFree(block);
    return ok;
}
