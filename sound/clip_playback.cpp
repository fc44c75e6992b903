#include "sound/clip_playback.h"

#include "sound/clip_format.h"
#include "sound/earlier_buffers.h"
#include "sound/path_text.h"
#include "sound/scoped_resources.h"
#include "sound/sound_state.h"
#include "sound/wave_file.h"

namespace {

static_assert(sizeof(DSBUFFERDESC) == 36);
constexpr DWORD clip_buffer_flags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;

// Opens sound_folder + name; the path block goes back right after the attempt.
HMMIO open_clip(const char* name) {
    path_block path(path_block_size);
    if (!path.get()) return nullptr;
    const uint32_t folder_length = bounded_length(sound_state.sound_folder, path_block_size);
    const uint32_t name_length = bounded_length(name, path_block_size);
    if (folder_length + name_length >= path_block_size) return nullptr;
    lstrcpyA(path.get(), sound_state.sound_folder);
    lstrcatA(path.get(), name);
    return mmioOpenA(path.get(), nullptr, MMIO_ALLOCBUF | MMIO_READ);
}

void copy_into(void* region, DWORD region_bytes, const uint8_t*& samples, uint32_t& left) {
    const uint32_t count = left < region_bytes ? left : region_bytes;
    if (region && count) __builtin_memcpy(region, samples, count);
    samples += count;
    left -= count;
}

// A fresh buffer for the latest clip, filled and started from its start.
bool start_clip_buffer(const void* samples) {
    retire_clip_buffer();
    DSBUFFERDESC description = {};
    description.dwSize = sizeof description;
    description.dwFlags = clip_buffer_flags;
    description.dwBufferBytes = sound_state.clip_size;
    description.lpwfxFormat = &sound_state.clip_format;
    // A buffer handed out with a non-zero result still belongs to us: it stays
    // in clip_buffer, and teardown releases it.
    if (sound_state.sound_device->CreateSoundBuffer(&description, &sound_state.clip_buffer, nullptr) !=
        DS_OK)
        return false;
    IDirectSoundBuffer* buffer = sound_state.clip_buffer;

    void* first = nullptr;
    void* second = nullptr;
    DWORD first_bytes = 0;
    DWORD second_bytes = 0;
    if (buffer->Lock(0, sound_state.clip_size, &first, &first_bytes, &second, &second_bytes, 0) != DS_OK)
        return false;
    const auto* next = static_cast<const uint8_t*>(samples);
    uint32_t left = sound_state.clip_size;
    copy_into(first, first_bytes, next, left);
    copy_into(second, second_bytes, next, left);
    if (buffer->Unlock(first, first_bytes, second, second_bytes) != DS_OK) return false;
    if (buffer->SetCurrentPosition(0) != DS_OK) return false;
    return buffer->Play(0, 0, 0) == DS_OK;
}

}  // namespace

int play_clip(const char* name) {
    if (!sound_state.sound_enabled) return 0;
    // Not set up yet (a click before the first initialize): nothing to play
    // through, which is no fault of the sound.
    if (!sound_state.sound_folder || !sound_state.sound_device) return 0;

    mmio_file file(open_clip(name));
    if (!file.get()) return silence_clicks();
    uint32_t sample_bytes = 0;
    if (!read_wave_layout(file.get(), &sound_state.clip_format, &sample_bytes) || sample_bytes == 0 ||
        !format_safe_for_device(sound_state.clip_format))
        return silence_clicks();

    // Sized by what the file holds, and only what was read is played.
    locked_block samples(sample_bytes);
    if (!samples.bytes()) return silence_clicks();
    // No more than the file holds, whose size mmioSeek gave as a LONG.
    const LONG read = mmioRead(file.get(), static_cast<HPSTR>(samples.bytes()), static_cast<LONG>(sample_bytes));
    if (read <= 0) return silence_clicks();
    sound_state.clip_size = static_cast<uint32_t>(read);
    file.close();

    return start_clip_buffer(samples.bytes()) ? 1 : silence_clicks();
}
