// dimmer_bench: the module's click, frame, growth and footprint figures,
// printed as a table. Times are reported, never asserted.
// dimmer_bench [--paced-clicks N]   (3,000 paced clicks a side by default)
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "bench/figures.h"
#include "standin/environment/leave_process.h"

static int run_program(int argc, char** argv) {
    int paced_clicks = 3000;
    if (argc == 3 && std::strcmp(argv[1], "--paced-clicks") == 0) {
        paced_clicks = std::atoi(argv[2]);
    } else if (argc != 1) {
        std::fprintf(stderr, "usage: dimmer_bench [--paced-clicks N]\n");
        return 2;
    }
    if (paced_clicks < 1000) {
        std::fprintf(stderr, "dimmer_bench: at least 1000 paced clicks\n");
        return 2;
    }
    figures table;
    try {
        measure_click_cost(GAUGE_FILE, paced_clicks, table);
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
