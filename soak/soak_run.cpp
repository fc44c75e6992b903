#include "soak/soak_run.h"

#include <algorithm>
#include <cstddef>
#include <random>
#include <stdexcept>

#include "soak/detent_click.h"
#include "standin/watched_host/watched_host.h"

namespace soak {
namespace {

constexpr double light_values[] = {0.0, 1.0, 0.5, 0.0, 100.0};

void keep_most(faults::held_resources& most, const faults::held_resources& now) {
    most.blocks = std::max(most.blocks, now.blocks);
    most.bytes = std::max(most.bytes, now.bytes);
    most.locks = std::max(most.locks, now.locks);
    most.keys = std::max(most.keys, now.keys);
    most.files = std::max(most.files, now.files);
    most.devices = std::max(most.devices, now.devices);
    most.buffers = std::max(most.buffers, now.buffers);
}

// The click created one new buffer, and Play on it succeeded.
bool clip_started(const faults::run_summary& before, const faults::run_summary& after) {
    if (after.buffer_requests != before.buffer_requests + 1 || after.plays != before.plays + 1) return false;
    return after.last_request->result == DS_OK && after.last_play->result == DS_OK &&
           after.last_play->buffer == after.last_request->buffer;
}

}  // namespace

traps::heap_layout soak_heap(std::uint32_t seed) {
    return seed % 2 == 0 ? traps::heap_layout::guard_after : traps::heap_layout::guard_before;
}

soak_report run_soak(const soak_settings& settings) {
    std::mt19937 random(settings.seed);
    auto pick_lights = [&] { return light_values[random() % std::size(light_values)]; };

    soak_report report;
    standin::host_options options;
    options.panel_lights = pick_lights();
    standin::watched_host watched(options, {faults::sound_mode::forward, settings.heap});
    standin::host& host = watched.host;
    const faults::ledger& ledger = watched.ledger;
    watched.load(settings.gauge_file);

    bool lit = standin::panel_lights_lit(host.panel_lights());
    host.query();
    host.install();
    host.initialize();

    auto fail = [&](const std::string& what) {
        report.failures.push_back("click " + std::to_string(report.clicks) + ": " + what);
    };
    auto kill_and_check = [&] {
        host.kill();
        const faults::held_resources held = ledger.held();
        if (!held.none()) fail("held after kill: " + faults::held_text(held));
    };

    const unsigned interval = std::max(1u, settings.clicks / (settings.reinits + 1));
    for (unsigned i = 0; i < settings.clicks; ++i) {
        if (i > 0 && i % interval == 0 && report.reinits < settings.reinits) {
            kill_and_check();
            host.set_panel_lights(pick_lights());
            lit = standin::panel_lights_lit(host.panel_lights());
            host.install();
            host.initialize();
            ++report.reinits;
        }
        const faults::run_summary before = ledger.summary();
        std::vector<std::string> failures;
        click_detent(host, static_cast<int>(random() % 7), lit, failures);
        for (const std::string& f : failures) fail(f);
        const faults::run_summary after = ledger.summary();
        if (clip_started(before, after))
            ++report.clips_started;
        else
            fail("the click did not start its clip");
        keep_most(report.most_held, after.held);
        ++report.clicks;
    }
    kill_and_check();
    host.unload();
    for (const std::string& problem : ledger.problems()) fail("ledger: " + problem);
    return report;
}

}  // namespace soak
