// Walking a clip file's RIFF "WAVE" chunks with the multimedia file calls.
#pragma once
#include "sound/sound_state.h"

// Reads the format record of an open clip and leaves the file at the first
// sample byte; `sample_bytes` is what the "data" chunk holds within the file.
bool read_wave_layout(HMMIO file, WAVEFORMATEX* format, uint32_t* sample_bytes);
