// dimmer_soak [--no-page-heap] [clicks] [reinits] [seed]: the soak run on
// the built module, its blocks from the page heap (laid out by the seed, see
// soak_heap) unless --no-page-heap, with a summary; exits 1 when any check
// failed.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <iostream>

#include "soak/soak_run.h"

#include "standin/environment/leave_process.h"

static int run_program(int argc, char** argv) {
    soak::soak_settings settings;
    settings.gauge_file = GAUGE_FILE;
    const bool page_heap = !(argc > 1 && std::strcmp(argv[1], "--no-page-heap") == 0);
    if (!page_heap) {
        --argc;
        ++argv;
    }
    if (argc > 1) settings.clicks = static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10));
    if (argc > 2) settings.reinits = static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10));
    settings.seed = argc > 3 ? static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 10)) : 20260101u;
    settings.heap = page_heap ? soak::soak_heap(settings.seed) : traps::heap_layout::platform;
    try {
        const soak::soak_report report = soak::run_soak(settings);
        std::cout << "soak seed " << settings.seed << ": " << report.clicks << " clicks, " << report.reinits
                  << " re-initializations, " << report.clips_started << " clips started ("
                  << traps::layout_name(settings.heap) << ")\n"
                  << "most held while initialized: " << faults::held_text(report.most_held) << "\n";
        const std::size_t shown = report.failures.size() < 20 ? report.failures.size() : 20;
        for (std::size_t i = 0; i < shown; ++i) std::cout << "FAIL " << report.failures[i] << "\n";
        std::cout << report.failures.size() << " failures\n";
        return report.failures.empty() ? 0 : 1;
    } catch (const std::exception& e) {
        std::cerr << "dimmer_soak: " << e.what() << "\n";
        return 2;
    }
}

int main(int argc, char** argv) { standin::leave_process(run_program(argc, argv)); }
