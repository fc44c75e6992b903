#include "sound/clip_format.h"

#include <mmreg.h>

namespace {

constexpr DWORD lowest_rate = 100;
constexpr DWORD highest_rate = 200000;

bool sample_size_known(WORD tag, WORD bits) {
    if (tag == WAVE_FORMAT_PCM) return bits == 8 || bits == 16 || bits == 24 || bits == 32;
    if (tag == WAVE_FORMAT_IEEE_FLOAT) return bits == 32 || bits == 64;
    return false;
}

}  // namespace

bool format_safe_for_device(const WAVEFORMATEX& format) {
    return sample_size_known(format.wFormatTag, format.wBitsPerSample) && format.nChannels > 0 &&
           format.nBlockAlign == uint32_t{format.nChannels} * format.wBitsPerSample / 8 &&
           format.nSamplesPerSec >= lowest_rate && format.nSamplesPerSec <= highest_rate;
}
