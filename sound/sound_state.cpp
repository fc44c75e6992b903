#include "sound/sound_state.h"

constinit sound_state_record sound_state = {
    .sound_enabled = 1,
    .sound_folder = nullptr,
    .sound_device = nullptr,
    .clip_buffer = nullptr,
    .clip_format = {},
    .clip_size = 0,
    .earlier_buffers = {},
};
