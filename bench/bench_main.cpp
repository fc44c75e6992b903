// dimmer_bench: the module's click, frame, growth and footprint figures and
// the stand-in's own memory, printed as a table. Times are reported, never
// asserted.
// dimmer_bench [--paced-clicks N] [--only click|frame|growth|memory|footprint]
// (3,000 paced clicks a side by default; --only measures one kind of figure)
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <functional>
#include <string>

#include "bench/figures.h"
#include "standin/environment/leave_process.h"

namespace {

struct measurement {
    const char* name;
    std::function<void(figures&)> measure;
};

int usage_error(const char* why) {
    std::fprintf(stderr, "dimmer_bench: %s\nusage: dimmer_bench [--paced-clicks N] "
                         "[--only click|frame|growth|memory|footprint]\n", why);
    return 2;
}

int run_program(int argc, char** argv) {
    int paced_clicks = 3000;
    const char* only = nullptr;
    for (int i = 1; i < argc; i += 2) {
        if (i + 1 >= argc) return usage_error("an option without its value");
        if (std::strcmp(argv[i], "--paced-clicks") == 0) paced_clicks = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--only") == 0) only = argv[i + 1];
        else return usage_error("unknown option");
    }
    if (paced_clicks < 1000) return usage_error("at least 1000 paced clicks");
    const measurement measurements[] = {
        {"click", [&](figures& t) { measure_click_cost(GAUGE_FILE, paced_clicks, t); }},
        {"frame", [](figures& t) { measure_frame_cost(GAUGE_FILE, t); }},
        {"growth", [](figures& t) { measure_growth(GAUGE_FILE, t); }},
        {"memory", [](figures& t) { measure_standin_memory(GAUGE_FILE, t); }},
        {"footprint", [](figures& t) { measure_footprint(GAUGE_FILE, FLOOR_FILE, t); }},
    };
    figures table;
    try {
        for (const measurement& m : measurements)
            if (!only || std::strcmp(only, m.name) == 0) m.measure(table);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "dimmer_bench: %s\n", e.what());
        return 2;
    }
    if (table.empty()) return usage_error("no such kind of figure");
    std::printf("%-52s %-46s %-38s %s\n", "figure", "value", "target", "met");
    for (const figure& f : table)
        std::printf("%-52s %-46s %-38s %s\n", f.name.c_str(), f.value.c_str(), f.target.c_str(),
                    f.target.empty() ? "" : !f.decided ? "undecided" : f.met ? "yes" : "NO");
    return 0;
}

}  // namespace

int main(int argc, char** argv) { standin::leave_process(run_program(argc, argv)); }
