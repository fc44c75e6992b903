// A run of many fuzz cases, printing each failing one with its seed.
#pragma once
#include <cstdint>

#include "fuzz/fuzz_case.h"

namespace fuzz {

struct run_summary {
    unsigned cases = 0;
    unsigned failed = 0;
    unsigned sounding = 0;   // cases whose file was to play, and did
};

run_summary run_cases(const fuzz_inputs& inputs, unsigned cases, std::uint32_t run_seed);
// One case by its seed, its description and every failure printed.
bool replay_case(const fuzz_inputs& inputs, std::uint32_t seed);

}  // namespace fuzz
