// Which clip formats are handed to the sound device.
#pragma once
#include "sound/sound_state.h"

// Whether a clip of this format may be handed to the sound device. Wine's
// device accepts formats that its mixer then crashes on, taking the whole
// process with it (PCM of 56 or 64 bits, rates of 40 MHz and more), so only
// these go to it: PCM of 8, 16, 24 or 32 bits or IEEE float of 32 or 64
// bits, at least one channel, a block of one sample for every channel, and a
// rate from 100 to 200,000 Hz, the range DirectSound 9 and later allow a
// buffer (earlier versions stop at 100,000 Hz).
bool format_safe_for_device(const WAVEFORMATEX& format);
