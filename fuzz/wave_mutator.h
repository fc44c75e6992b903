// Seeded variations of a wave file: broken sizes, truncations, chunks moved,
// doubled, dropped or inserted, "fmt " of other lengths or with fields at the
// edges of their ranges, and flipped bits.
#pragma once
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace fuzz {

using bytes = std::vector<std::uint8_t>;
using random_source = std::mt19937;

struct wave_variant {
    std::string description;
    bytes file;
};

// Small synthetic RIFF "WAVE" files to mutate besides the build's click.
std::vector<wave_variant> synthetic_waves();

// One variant of `base`, each step named in the description.
wave_variant mutate_wave(const wave_variant& base, random_source& random);

}  // namespace fuzz
