// One fuzz case, made from its seed alone so that it can be replayed: a
// mutated clip file (and sometimes a mutated "path" value), a fresh host and
// module with the ledger installed, a few clicks, kill and unload.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/wave_mutator.h"
#include "standin/traps/page_heap.h"

namespace fuzz {

class watchdog;

struct fuzz_inputs {
    std::string gauge_file;
    bytes click;  // the build's click.wav
    // Cases play through Wine's real DirectSound, which the ledger forwards
    // to and records, instead of its fake device: a format the real mixer
    // cannot take then crashes the run.
    bool real_sound = false;
    // The module's blocks come from the page heap, its guard page after
    // each block in one case and before it in the next; false: from the
    // platform's heap.
    bool page_heap = true;
};

struct case_result {
    std::uint32_t seed = 0;
    traps::heap_layout heap = traps::heap_layout::platform;
    std::string description;
    bool expected_sound = false;   // the file (and path) should play
    bool played = false;
    std::vector<std::string> failures;
};

// Throws std::runtime_error when the case's environment can't be set up.
case_result run_case(const fuzz_inputs& inputs, std::uint32_t seed, traps::heap_layout heap, watchdog& dog);

// The seed of case `index` of a run started from `run_seed`.
std::uint32_t case_seed(std::uint32_t run_seed, std::uint32_t index);

// Reads the click.wav the build made; throws when it can't.
bytes read_file(const std::string& path);

}  // namespace fuzz
