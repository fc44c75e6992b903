// Click cost: the module's handler, called straight from its mouse table with
// host services that do nothing, against the floor doing the same file and
// sound work itself on the module's own device. Runs alternate, so both see
// the same machine state.
// Paced clicks come after the previous clip has finished, as a person's do,
// at uneven gaps: Wine's mixer wakes on a fixed period, and an even pace locks
// each side to one phase of it, good or bad for a whole run. A burst comes
// back to back, so that every click past the eighth cuts the oldest clip short.
// Both tails are made of stalls inside the sound calls, on either side alike:
// a few in a hundred paced clicks wait milliseconds on Wine's mixer thread
// (releasing the finished buffer, mostly), and in a burst some wait half a
// second. So each ratio is shown with the interval it moves in, and a target
// the interval straddles is undecided; the burst's tail carries no target.
// The paced tail's target is decided by clicking on: the paced clicks double
// until its interval lies on one side of the target, or a cap on clicks or
// time is reached.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/figures.h"
#include "bench/floor_click.h"
#include "bench/null_services.h"
#include "bench/ratio_interval.h"
#include "standin/imports/import_patch.h"
#include "standin/host/standin_host.h"

namespace {

constexpr DWORD pace_ms = 60;         // past the 45 ms clip
constexpr DWORD pace_spread_ms = 10;  // one period of the mixer
constexpr int burst_clicks = 2000;
constexpr double ratio_target = 1.10;

// The module's device, caught as the module opens it, so that the floor plays
// through the very same device and both sides share one mixer.
using device_opener = HRESULT(WINAPI*)(LPCGUID, LPDIRECTSOUND*, LPUNKNOWN);
device_opener open_device = nullptr;
IDirectSound* module_device = nullptr;

HRESULT WINAPI catch_module_device(LPCGUID guid, LPDIRECTSOUND* device, LPUNKNOWN outer) {
    const HRESULT result = open_device(guid, device, outer);
    if (result == DS_OK) module_device = *device;
    return result;
}

double now_us() {
    static const double ticks_per_us = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return double(frequency.QuadPart) / 1e6;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) / ticks_per_us;
}

struct click_times {
    std::vector<double> module, floor;  // microseconds
    bool floor_ok = true;
    uint32_t gap_seed = 1;
};

// Adds `clicks` clicks a side to `times`, or fewer if the clock passes
// `deadline_us` first; says whether it did not.
bool time_clicks(const std::vector<mouse_handler>& handlers, floor_click& floor, int clicks, bool paced,
                 click_times& times, double deadline_us = std::numeric_limits<double>::infinity()) {
    standin::click_point point{5, 3};
    auto pause = [&] {
        if (!paced) return;
        times.gap_seed = times.gap_seed * 1664525u + 1013904223u;
        Sleep(pace_ms + (times.gap_seed >> 16) % pace_spread_ms);
    };
    auto module_click = [&](int i) {
        const double start = now_us();
        handlers[i % handlers.size()](&point, mouse_left_single);
        times.module.push_back(now_us() - start);
    };
    auto floor_click = [&] {
        const double start = now_us();
        times.floor_ok = floor.click() && times.floor_ok;
        times.floor.push_back(now_us() - start);
    };
    // Each side gets a pause before its click, and the two take turns at
    // going first.
    const int first = static_cast<int>(times.module.size());
    for (int i = first; i < first + clicks; ++i) {
        if (now_us() > deadline_us) return false;
        pause();
        if (i % 2) floor_click(); else module_click(i);
        pause();
        if (i % 2) module_click(i); else floor_click();
    }
    return true;
}

// A target is met when even the top of the ratio's interval is within it,
// missed when even its bottom is past it, and undecided otherwise.
bool within_target(const ratio_interval& ratio) { return ratio.high <= ratio_target; }
bool past_target(const ratio_interval& ratio) { return ratio.low > ratio_target; }

// Paced clicks until the tail's interval lies on one side of the target: the
// count doubles at each look, so that a run makes few looks, each of which
// could decide wrongly by chance. Says where the sampling stopped, and why.
std::string sample_until_decided(const std::vector<mouse_handler>& handlers, floor_click& floor,
                                 const paced_sampling& limits, click_times& paced) {
    const double start = now_us();
    const double deadline = start + limits.most_minutes * 60e6;
    int looks = 0;
    for (int goal = limits.first_clicks;; goal = std::min(2 * goal, limits.most_clicks)) {
        const bool in_time =
            time_clicks(handlers, floor, goal - static_cast<int>(paced.module.size()), true, paced, deadline);
        ++looks;
        const ratio_interval tail = quantile_ratio(paced.module, paced.floor, 0.99);
        std::string outcome;
        if (within_target(tail)) outcome = "within " + fixed_text(ratio_target, 2) + "x";
        else if (past_target(tail)) outcome = "over " + fixed_text(ratio_target, 2) + "x";
        else if (!in_time) outcome = "undecided at the cap of " + std::to_string(limits.most_minutes) + " min";
        else if (goal >= limits.most_clicks) outcome = "undecided at the cap of " + std::to_string(goal) + " clicks";
        else continue;
        return outcome + ", after " + std::to_string(paced.module.size()) + " clicks a side (" +
               std::to_string(looks) + (looks == 1 ? " look, " : " looks, ") +
               fixed_text((now_us() - start) / 60e6, 1) + " min)";
    }
}

std::string time_text(double us) { return us < 1000 ? fixed_text(us, 1) + " us" : fixed_text(us / 1000, 2) + " ms"; }

// One quantile of both sides and their ratio, against the target if it has one.
void report_quantile(const std::string& name, double q, const click_times& times, bool targeted, figures& out) {
    out.push_back({name + ", module", time_text(quantile(times.module, q)), "", true});
    out.push_back({name + ", floor", time_text(quantile(times.floor, q)) + (times.floor_ok ? "" : " (a floor click failed)"),
                   "", times.floor_ok});
    const ratio_interval ratio = quantile_ratio(times.module, times.floor, q);
    const std::string value = fixed_text(ratio.ratio, 2) + "x (90%: " + fixed_text(ratio.low, 2) + "-" +
                              fixed_text(ratio.high, 2) + "x)";
    if (!targeted) {
        out.push_back({name + ", module / floor", value, "", true});
        return;
    }
    out.push_back({name + ", module / floor", value, "<= " + fixed_text(ratio_target, 2) + "x",
                   within_target(ratio), within_target(ratio) || past_target(ratio)});
}

void report(const char* kind, int clicks, const click_times& times, bool tail_targeted, figures& out) {
    const std::string name = std::string("click ") + kind;
    report_quantile(name + " median (" + std::to_string(clicks) + " clicks)", 0.5, times, true, out);
    report_quantile(name + " p99", 0.99, times, tail_targeted, out);
}

}  // namespace

void measure_click_cost(const std::string& gauge_file, const paced_sampling& sampling, figures& out) {
    imports::import_patch device_catch;  // outlives the module, which the host unloads
    std::string patch_error;
    standin::host_options options;
    options.before_module_init = [&](HMODULE module) {
        if (device_catch.apply(module, {"dsound.dll", "DirectSoundCreate"},
                               reinterpret_cast<void*>(&catch_module_device), &patch_error))
            open_device = reinterpret_cast<device_opener>(device_catch.original());
    };
    standin::host host(options);
    host.load(gauge_file);
    if (!device_catch.active()) throw std::runtime_error("cannot catch the module's sound device: " + patch_error);
    host.query();
    host.install();
    module_device = nullptr;
    host.initialize();
    if (!module_device) throw std::runtime_error("the module opened no sound device");
    std::vector<mouse_handler> handlers;
    for (const mouse_record& spot : host.mouse().hot_spots()) handlers.push_back(spot.handler);
    if (handlers.empty()) throw std::runtime_error("the module registered no hot spots");
    floor_click floor(module_device, host.install_folder_path() + "\\Sound\\click.wav");

    void* const* host_services = host.import_table()->services;
    host.import_table()->services = null_service_table();
    click_times paced, burst;
    const std::string tail_sampling = sample_until_decided(handlers, floor, sampling, paced);
    time_clicks(handlers, floor, burst_clicks, false, burst);
    host.import_table()->services = host_services;
    host.kill();

    report("paced", static_cast<int>(paced.module.size()), paced, true, out);
    out.push_back({"click paced p99, sampled until decided", tail_sampling, "", true});
    report("burst", burst_clicks, burst, false, out);
}
