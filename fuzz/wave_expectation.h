// What a click must play from a given clip file, worked out from the file's
// bytes alone: the RIFF "WAVE" chunk, its "fmt " record, then the "data"
// chunk after it, cut to what the file holds. Walks that would step past the
// end of the file or of the RIFF chunk find nothing, so such files stay silent.
#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <optional>

#include "fuzz/wave_mutator.h"

namespace fuzz {

struct expected_clip {
    WAVEFORMATEX format;   // the record's first bytes, cbSize dropped
    bytes samples;         // what must be at the start of the buffer at Play
    DWORD buffer_bytes;    // the size the device gives the buffer
};

// nullopt: the clip must not play (no such walk, no samples, or a format
// the sound device refuses).
std::optional<expected_clip> expected_playback(const bytes& file);

}  // namespace fuzz
