// Which clip formats are handed to the sound device.
#pragma once
#include "sound/sound_state.h"

// True for a format the device is documented to play: PCM of 8, 16, 24 or 32
// bits or IEEE float of 32 or 64 bits, at least one channel, a block of one
// sample for every channel, and a rate a buffer may have (100 to 200,000 Hz).
// Wine's device takes other formats and then crashes its mixer on them (PCM
// of 64 bits, a rate of 40 MHz), so a clip outside these is never played.
bool device_can_play(const WAVEFORMATEX& format);
