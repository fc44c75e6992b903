// A long run of the module on Wine's real DirectSound: clicks on random
// marks, and every so often a kill and a fresh install and initialize under
// other panel lights. Each click is checked (see detent_click.h) and must
// start its clip; nothing may stay held after a kill.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "standin/ledger/records.h"
#include "standin/traps/page_heap.h"

namespace soak {

struct soak_settings {
    std::string gauge_file;
    unsigned clicks = 10000;
    unsigned reinits = 100;
    std::uint32_t seed = 1;
    // Where the module's blocks come from for the whole run.
    traps::heap_layout heap = traps::heap_layout::guard_after;
};

// The page heap's layout for a run from `seed`: the guard page after the
// blocks for an even seed, before them for an odd one.
traps::heap_layout soak_heap(std::uint32_t seed);

struct soak_report {
    unsigned clicks = 0;
    unsigned reinits = 0;
    unsigned clips_started = 0;
    faults::held_resources most_held;   // the largest count of each, while initialized
    std::vector<std::string> failures;  // each with the click it happened at
};

// Throws std::runtime_error when the host or the ledger can't be set up.
soak_report run_soak(const soak_settings& settings);

}  // namespace soak
