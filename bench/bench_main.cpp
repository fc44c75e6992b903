// dimmer_bench: the module's click, frame, growth and footprint figures and
// the stand-in's own memory, printed as a table. Times are reported, never
// asserted.
// dimmer_bench [--paced-clicks N] [--paced-cap N] [--paced-minutes M] [--only KIND]
//   (3,000 paced clicks a side first, then more until the tail is decided,
//   up to 48,000 a side or 30 minutes of clicking; --only measures one kind
//   of figure: click, frame, growth, memory or footprint)
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
    std::fprintf(stderr, "dimmer_bench: %s\nusage: dimmer_bench [--paced-clicks N] [--paced-cap N] "
                         "[--paced-minutes M] [--only click|frame|growth|memory|footprint]\n", why);
    return 2;
}

int run_program(int argc, char** argv) {
    paced_sampling sampling;
    const char* only = nullptr;
    for (int i = 1; i < argc; i += 2) {
        if (i + 1 >= argc) return usage_error("an option without its value");
        if (std::strcmp(argv[i], "--only") == 0) {
            only = argv[i + 1];
            continue;
        }
        int* value = std::strcmp(argv[i], "--paced-clicks") == 0    ? &sampling.first_clicks
                     : std::strcmp(argv[i], "--paced-cap") == 0     ? &sampling.most_clicks
                     : std::strcmp(argv[i], "--paced-minutes") == 0 ? &sampling.most_minutes
                                                                    : nullptr;
        if (!value) return usage_error("unknown option");
        *value = std::atoi(argv[i + 1]);
    }
    if (sampling.first_clicks < 1000 || sampling.most_clicks < sampling.first_clicks || sampling.most_minutes < 1)
        return usage_error("at least 1000 paced clicks first, a cap no lower, and at least 1 minute");
    const measurement measurements[] = {
        {"click", [&](figures& t) { measure_click_cost(GAUGE_FILE, sampling, t); }},
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
