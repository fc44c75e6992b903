#include "fuzz/fuzz_run.h"

#include <cstdio>
#include <string>

#include "fuzz/watchdog.h"

namespace fuzz {
namespace {

void print_failures(const case_result& result) {
    std::printf("FAIL seed 0x%08X: %s\n", result.seed, result.description.c_str());
    for (const std::string& failure : result.failures) std::printf("    %s\n", failure.c_str());
    std::fflush(stdout);
}

}  // namespace

run_summary run_cases(const fuzz_inputs& inputs, unsigned cases, std::uint32_t run_seed) {
    watchdog dog;
    run_summary summary;
    for (unsigned i = 0; i < cases; ++i) {
        const case_result result = run_case(inputs, case_seed(run_seed, i), dog);
        ++summary.cases;
        if (result.played) ++summary.sounding;
        if (!result.failures.empty()) {
            ++summary.failed;
            print_failures(result);
        }
    }
    std::printf("fuzz seed %u: %u cases, %u played their clip, %u failed\n", run_seed, summary.cases,
                summary.sounding, summary.failed);
    return summary;
}

bool replay_case(const fuzz_inputs& inputs, std::uint32_t seed) {
    watchdog dog;
    const case_result result = run_case(inputs, seed, dog);
    if (!result.failures.empty()) {
        print_failures(result);
        return false;
    }
    std::printf("seed 0x%08X passed (%s): %s\n", seed, result.played ? "played" : "silent", result.description.c_str());
    return true;
}

}  // namespace fuzz
