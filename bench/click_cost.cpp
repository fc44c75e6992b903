// Click cost: the module's handler, called straight from its mouse table with
// host services that do nothing, against the floor doing the same file and
// sound work itself. Runs alternate, so both see the same machine state.
#include <windows.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "bench/figures.h"
#include "bench/floor_click.h"
#include "bench/null_services.h"
#include "standin/standin_host.h"

namespace {

constexpr int clicks = 2000;

struct spread {
    double median_us;
    double p99_us;
};

spread spread_of(std::vector<LONGLONG> ticks, LONGLONG frequency) {
    std::sort(ticks.begin(), ticks.end());
    auto us = [&](LONGLONG t) { return 1e6 * double(t) / double(frequency); };
    return {us(ticks[ticks.size() / 2]), us(ticks[ticks.size() * 99 / 100])};
}

LONGLONG now() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

}  // namespace

void measure_click_cost(const std::string& gauge_file, figures& out) {
    standin::host host;
    host.load(gauge_file);
    host.query();
    host.install();
    host.initialize();
    std::vector<mouse_handler> handlers;
    for (const mouse_record& spot : host.mouse().hot_spots()) handlers.push_back(spot.handler);
    if (handlers.empty()) throw std::runtime_error("the module registered no hot spots");
    floor_click floor(host.main_window_handle(), host.install_folder_path() + "\\Sound\\click.wav");

    void* const* host_services = host.import_table()->services;
    host.import_table()->services = null_service_table();
    std::vector<LONGLONG> module_ticks, floor_ticks;
    standin::click_point point{5, 3};
    bool floor_ok = true;
    for (int i = 0; i < clicks; ++i) {
        LONGLONG start = now();
        handlers[i % handlers.size()](&point, mouse_left_single);
        module_ticks.push_back(now() - start);
        start = now();
        floor_ok = floor.click() && floor_ok;
        floor_ticks.push_back(now() - start);
    }
    host.import_table()->services = host_services;
    host.kill();

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    const spread module = spread_of(module_ticks, frequency.QuadPart);
    const spread least = spread_of(floor_ticks, frequency.QuadPart);
    const std::string runs = " (" + std::to_string(clicks) + " clicks)";
    out.push_back({"click median, module" + runs, fixed_text(module.median_us, 1) + " us", "", true});
    out.push_back({"click median, floor" + runs, fixed_text(least.median_us, 1) + " us" + (floor_ok ? "" : " (a floor click failed)"), "", floor_ok});
    const double median_ratio = module.median_us / least.median_us;
    out.push_back({"click median, module / floor", fixed_text(median_ratio, 2) + "x", "<= 1.10x", median_ratio <= 1.10});
    out.push_back({"click p99, module", fixed_text(module.p99_us, 1) + " us", "", true});
    out.push_back({"click p99, floor", fixed_text(least.p99_us, 1) + " us", "", true});
    const double p99_ratio = module.p99_us / least.p99_us;
    out.push_back({"click p99, module / floor", fixed_text(p99_ratio, 2) + "x", "<= 1.10x", p99_ratio <= 1.10});
}
