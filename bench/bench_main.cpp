// dimmer_bench: the module's click, frame, growth and footprint figures,
// printed as a table. Times are reported, never asserted.
// dimmer_bench [--paced-clicks N] [--paced-cap N] [--paced-minutes M]
//   (3,000 paced clicks a side first, then more until the tail is decided,
//   up to 48,000 a side or 30 minutes of clicking)
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "bench/figures.h"
#include "standin/environment/leave_process.h"

static int usage() {
    std::fprintf(stderr, "usage: dimmer_bench [--paced-clicks N] [--paced-cap N] [--paced-minutes M]\n");
    return 2;
}

static int run_program(int argc, char** argv) {
    paced_sampling sampling;
    for (int i = 1; i < argc; i += 2) {
        int* value = std::strcmp(argv[i], "--paced-clicks") == 0    ? &sampling.first_clicks
                     : std::strcmp(argv[i], "--paced-cap") == 0     ? &sampling.most_clicks
                     : std::strcmp(argv[i], "--paced-minutes") == 0 ? &sampling.most_minutes
                                                                    : nullptr;
        if (!value || i + 1 == argc) return usage();
        *value = std::atoi(argv[i + 1]);
    }
    if (sampling.first_clicks < 1000 || sampling.most_clicks < sampling.first_clicks || sampling.most_minutes < 1) {
        std::fprintf(stderr, "dimmer_bench: at least 1000 paced clicks first, a cap no lower, and at least 1 minute\n");
        return 2;
    }
    figures table;
    try {
        measure_click_cost(GAUGE_FILE, sampling, table);
        measure_frame_cost(GAUGE_FILE, table);
        measure_growth(GAUGE_FILE, table);
        measure_footprint(GAUGE_FILE, FLOOR_FILE, table);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "dimmer_bench: %s\n", e.what());
        return 2;
    }
    std::printf("%-52s %-46s %-38s %s\n", "figure", "value", "target", "met");
    for (const figure& f : table)
        std::printf("%-52s %-46s %-38s %s\n", f.name.c_str(), f.value.c_str(), f.target.c_str(),
                    f.target.empty() ? "" : !f.decided ? "undecided" : f.met ? "yes" : "NO");
    return 0;
}

int main(int argc, char** argv) { standin::leave_process(run_program(argc, argv)); }
