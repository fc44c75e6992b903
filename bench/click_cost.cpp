// Click cost: the module's handler, called straight from its mouse table with
// host services that do nothing, against the floor doing the same file and
// sound work itself. Runs alternate, so both see the same machine state.
// Paced clicks come after the previous clip has finished, as a person's do;
// a burst comes back to back, so that every click past the eighth cuts the
// oldest clip short. In a burst Wine's mixer now and then holds a sound call
// for up to half a second, on either side, so its tail is shown untargeted.
#include <windows.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "bench/figures.h"
#include "bench/floor_click.h"
#include "bench/null_services.h"
#include "standin/standin_host.h"

namespace {

constexpr int paced_clicks = 1000;
constexpr DWORD pace_ms = 60;  // past the 45 ms clip
constexpr int burst_clicks = 2000;

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

struct click_times {
    std::vector<LONGLONG> module, floor;
    bool floor_ok = true;
};

click_times time_clicks(const std::vector<mouse_handler>& handlers, floor_click& floor, int clicks, DWORD pause_ms) {
    click_times times;
    standin::click_point point{5, 3};
    auto module_click = [&](int i) {
        const LONGLONG start = now();
        handlers[i % handlers.size()](&point, mouse_left_single);
        times.module.push_back(now() - start);
    };
    auto floor_click = [&] {
        const LONGLONG start = now();
        times.floor_ok = floor.click() && times.floor_ok;
        times.floor.push_back(now() - start);
    };
    // Each side gets a pause before its click, and the two take turns at
    // going first: which one follows the other changed paced figures by
    // more than two times from run to run.
    for (int i = 0; i < clicks; ++i) {
        if (pause_ms) Sleep(pause_ms);
        if (i % 2) floor_click(); else module_click(i);
        if (pause_ms) Sleep(pause_ms);
        if (i % 2) module_click(i); else floor_click();
    }
    return times;
}

void report(const char* kind, int clicks, const click_times& times, bool tail_targeted, figures& out) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    const spread module = spread_of(times.module, frequency.QuadPart);
    const spread least = spread_of(times.floor, frequency.QuadPart);
    const std::string name = std::string("click ") + kind;
    const std::string runs = " (" + std::to_string(clicks) + " clicks)";
    out.push_back({name + " median, module" + runs, fixed_text(module.median_us, 1) + " us", "", true});
    out.push_back({name + " median, floor" + runs,
                   fixed_text(least.median_us, 1) + " us" + (times.floor_ok ? "" : " (a floor click failed)"), "",
                   times.floor_ok});
    const double median_ratio = module.median_us / least.median_us;
    out.push_back({name + " median, module / floor", fixed_text(median_ratio, 2) + "x", "<= 1.10x", median_ratio <= 1.10});
    out.push_back({name + " p99, module", fixed_text(module.p99_us, 1) + " us", "", true});
    out.push_back({name + " p99, floor", fixed_text(least.p99_us, 1) + " us", "", true});
    const double p99_ratio = module.p99_us / least.p99_us;
    out.push_back({name + " p99, module / floor", fixed_text(p99_ratio, 2) + "x", tail_targeted ? "<= 1.10x" : "",
                   !tail_targeted || p99_ratio <= 1.10});
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
    const click_times paced = time_clicks(handlers, floor, paced_clicks, pace_ms);
    const click_times burst = time_clicks(handlers, floor, burst_clicks, 0);
    host.import_table()->services = host_services;
    host.kill();

    report("paced", paced_clicks, paced, true, out);
    report("burst", burst_clicks, burst, false, out);
}
