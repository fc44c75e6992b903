// dimmer_fuzz [--no-page-heap] [--real-sound] [cases] [seed] | ... --replay SEED:
// mutated clip files and "path" values against the built module, on the fake
// sound device or on Wine's real one, its blocks from the page heap unless
// --no-page-heap. Prints the seed of every failing case; exits 1 when any
// case failed, 3 on a hang, 4 on a crash.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <string>

#include "fuzz/fuzz_run.h"

#include "standin/environment/leave_process.h"

static int run_program(int argc, char** argv) {
    fuzz::fuzz_inputs inputs;
    inputs.gauge_file = GAUGE_FILE;
    try {
        inputs.click = fuzz::read_file(CLICK_FILE);
        for (; argc > 1 && std::strncmp(argv[1], "--", 2) == 0 && std::strcmp(argv[1], "--replay") != 0; --argc, ++argv) {
            if (std::strcmp(argv[1], "--real-sound") == 0)
                inputs.real_sound = true;
            else if (std::strcmp(argv[1], "--no-page-heap") == 0)
                inputs.page_heap = false;
            else
                throw std::invalid_argument(std::string("unknown option ") + argv[1]);
        }
        if (argc > 2 && std::strcmp(argv[1], "--replay") == 0) {
            const auto seed = static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 0));
            return fuzz::replay_case(inputs, seed) ? 0 : 1;
        }
        const unsigned cases = argc > 1 ? static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10)) : 2000;
        const auto seed = argc > 2 ? static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 0)) : 1u;
        return fuzz::run_cases(inputs, cases, seed).failed == 0 ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "dimmer_fuzz: %s\n", e.what());
        return 2;
    }
}

int main(int argc, char** argv) { standin::leave_process(run_program(argc, argv)); }
