// What a click must play from a given clip file, read from the file's bytes
// as a reader of RIFF files reads them, not as the module walks them: the
// file's chunks one after another, the first "WAVE" RIFF chunk among them,
// its own chunks listed the same way, and in that list the first "fmt "
// record and the first "data" chunk after it, cut to what the file holds.
// A chunk whose claimed size runs past the file or the RIFF chunk ends its
// list, so what lies behind it is never found and such files stay silent.
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
