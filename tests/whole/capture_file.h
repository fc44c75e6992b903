// What ALSA's file plugin wrote: a WAVE file of the sound card's output,
// whose header sizes may still be unset while the device is open.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct capture {
    unsigned rate = 0;
    unsigned channels = 0;
    // One entry a frame: its loudest channel, as a fraction of full scale.
    std::vector<double> peaks;

    // Frames from the first to the last that reaches `level`; 0 if none does.
    std::size_t loud_span(double level) const;
    // Runs of frames that reach `level`, apart by at least `quiet` frames below it.
    std::size_t bursts(double level, std::size_t quiet) const;
};

// nullopt when there is no file: no sound device was opened, or the capture
// is broken. A file that cannot be read as a WAVE file throws.
std::optional<capture> read_capture(const std::string& path);
