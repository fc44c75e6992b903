#include "sound/earlier_buffers.h"

#include "sound/scoped_resources.h"
#include "sound/sound_state.h"

namespace {

bool still_playing(IDirectSoundBuffer* buffer) {
    DWORD status = 0;
    return buffer->GetStatus(&status) == DS_OK && (status & DSBSTATUS_PLAYING);
}

// Releases the finished buffers and packs the rest, oldest first; returns how many are left.
int release_finished_buffers() {
    auto& buffers = sound_state.earlier_buffers;
    int kept = 0;
    for (int i = 0; i < max_earlier_buffers; ++i) {
        IDirectSoundBuffer* buffer = buffers[i];
        buffers[i] = nullptr;
        if (!buffer) continue;
        if (still_playing(buffer))
            buffers[kept++] = buffer;
        else
            buffer->Release();
    }
    return kept;
}

void cut_short_oldest() {
    auto& buffers = sound_state.earlier_buffers;
    buffers[0]->Stop();
    release(buffers[0]);
    for (int i = 1; i < max_earlier_buffers; ++i) {
        buffers[i - 1] = buffers[i];
        buffers[i] = nullptr;
    }
}

}  // namespace

void retire_clip_buffer() {
    int kept = release_finished_buffers();
    if (!sound_state.clip_buffer) return;
    if (!still_playing(sound_state.clip_buffer)) {
        release(sound_state.clip_buffer);
        return;
    }
    if (kept == max_earlier_buffers) {
        cut_short_oldest();
        --kept;
    }
    sound_state.earlier_buffers[kept] = sound_state.clip_buffer;
    sound_state.clip_buffer = nullptr;
}

void release_earlier_buffers() {
    for (auto*& buffer : sound_state.earlier_buffers) release(buffer);
}
