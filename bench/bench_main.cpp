// dimmer_bench: the module's click, frame, growth and footprint figures,
// printed as a table. Times are reported, never asserted.
#include <cstdio>
#include <exception>

#include "bench/figures.h"

#include "standin/leave_process.h"

std::string fixed_text(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

static int run_program() {
    figures table;
    try {
        measure_click_cost(GAUGE_FILE, table);
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

int main() { standin::leave_process(run_program()); }
