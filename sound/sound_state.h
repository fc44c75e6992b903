// Everything the click sound holds between calls, module-wide.
#pragma once
#include <windows.h>
#include <dsound.h>
#include <mmsystem.h>
#include <cstdint>

constexpr uint32_t path_block_size = 260;  // file paths, terminator included

// Clicks that still sound when the next one starts keep their buffers here
// until they finish; past this many, the oldest is cut short.
constexpr int max_earlier_buffers = 7;

struct sound_state_record {
    int32_t sound_enabled;            // goes from 1 to 0 on any sound failure, never back
    char* sound_folder;               // install folder + "\Sound\", a path block
    IDirectSound* sound_device;
    IDirectSoundBuffer* clip_buffer;  // the latest click's buffer
    WAVEFORMATEX clip_format;         // the latest clip's format
    uint32_t clip_size;               // the latest clip's sample bytes
    IDirectSoundBuffer* earlier_buffers[max_earlier_buffers];
};
static_assert(sizeof(WAVEFORMATEX) == 18);

extern sound_state_record sound_state;

// Any sound failure silences the clicks until the module is unloaded.
inline int silence_clicks() {
    sound_state.sound_enabled = 0;
    return 0;
}
