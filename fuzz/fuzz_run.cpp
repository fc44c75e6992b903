#include "fuzz/fuzz_run.h"

#include <cstdio>
#include <string>

#include "fuzz/watchdog.h"

namespace fuzz {
namespace {

void print_failures(const case_result& result) {
    std::printf("FAIL seed 0x%08X (%s): %s\n", result.seed, traps::layout_name(result.heap),
                result.description.c_str());
    for (const std::string& failure : result.failures) std::printf("    %s\n", failure.c_str());
    std::fflush(stdout);
}

// Case by case, the guard page after the blocks, then before them.
traps::heap_layout case_heap(const fuzz_inputs& inputs, unsigned index) {
    if (!inputs.page_heap) return traps::heap_layout::platform;
    return index % 2 == 0 ? traps::heap_layout::guard_after : traps::heap_layout::guard_before;
}

}  // namespace

run_summary run_cases(const fuzz_inputs& inputs, unsigned cases, std::uint32_t run_seed) {
    watchdog dog;
    run_summary summary;
    for (unsigned i = 0; i < cases; ++i) {
        const case_result result = run_case(inputs, case_seed(run_seed, i), case_heap(inputs, i), dog);
        ++summary.cases;
        if (result.played) ++summary.sounding;
        if (!result.failures.empty()) {
            ++summary.failed;
            print_failures(result);
        }
    }
    std::printf("fuzz seed %u: %u cases (%s), %u played their clip, %u failed\n", run_seed, summary.cases,
                inputs.page_heap ? "page heap, guard pages after and before the blocks by turns" : "platform heap",
                summary.sounding, summary.failed);
    return summary;
}

bool replay_case(const fuzz_inputs& inputs, std::uint32_t seed) {
    watchdog dog;
    bool passed = true;
    // The case ran with one of the two layouts; it is replayed with both.
    for (unsigned turn = 0; turn < (inputs.page_heap ? 2u : 1u); ++turn) {
        const case_result result = run_case(inputs, seed, case_heap(inputs, turn), dog);
        if (!result.failures.empty()) {
            print_failures(result);
            passed = false;
            continue;
        }
        std::printf("seed 0x%08X passed (%s, %s): %s\n", seed, traps::layout_name(result.heap),
                    result.played ? "played" : "silent", result.description.c_str());
    }
    return passed;
}

}  // namespace fuzz
