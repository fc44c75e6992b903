#include "soak/soak_run.h"

#include <algorithm>
#include <cstddef>
#include <random>
#include <sstream>
#include <stdexcept>

#include "soak/detent_click.h"
#include "standin/faults/ledger.h"
#include "standin/host/standin_host.h"

namespace load {
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

std::string held_text(const faults::held_resources& held) {
    std::ostringstream out;
    out << held;
    return out.str();
}

// The click created one new buffer, and Play on it succeeded.
bool clip_started(faults::ledger& ledger, std::size_t requests_before, std::size_t plays_before) {
    auto guard = ledger.lock();
    const faults::sound_log& log = ledger.sound().records();
    if (log.buffer_requests.size() != requests_before + 1 || log.plays.size() != plays_before + 1) return false;
    const faults::buffer_request& request = log.buffer_requests.back();
    const faults::play_call& play = log.plays.back();
    return request.result == DS_OK && play.result == DS_OK && play.buffer == request.buffer;
}

}  // namespace

faults::heap_layout soak_heap(std::uint32_t seed) {
    return seed % 2 == 0 ? faults::heap_layout::guard_after : faults::heap_layout::guard_before;
}

soak_report run_soak(const soak_settings& settings) {
    std::mt19937 random(settings.seed);
    auto pick_lights = [&] { return light_values[random() % std::size(light_values)]; };

    soak_report report;
    faults::ledger ledger;  // outlives the module, which the host unloads
    ledger.sound().set_mode(faults::sound_mode::forward);
    ledger.use_heap(settings.heap);
    std::string install_error;
    standin::host_options options;
    options.panel_lights = pick_lights();
    options.before_module_init = [&](HMODULE module) { ledger.install(module, &install_error); };
    standin::host host(options);
    ledger.name_calls_by([&host] { return host.call_in_progress(); });
    host.load(settings.gauge_file);
    if (!ledger.installed()) throw std::runtime_error("cannot install the ledger: " + install_error);

    bool lit = lights_lit(host.panel_lights());
    host.query();
    host.install();
    host.initialize();

    auto fail = [&](const std::string& what) {
        report.failures.push_back("click " + std::to_string(report.clicks) + ": " + what);
    };
    auto kill_and_check = [&] {
        host.kill();
        const faults::held_resources held = ledger.held();
        if (!held.none()) fail("held after kill: " + held_text(held));
    };

    const unsigned interval = std::max(1u, settings.clicks / (settings.reinits + 1));
    for (unsigned i = 0; i < settings.clicks; ++i) {
        if (i > 0 && i % interval == 0 && report.reinits < settings.reinits) {
            kill_and_check();
            host.set_panel_lights(pick_lights());
            lit = lights_lit(host.panel_lights());
            host.install();
            host.initialize();
            ++report.reinits;
        }
        std::size_t requests = 0, plays = 0;
        {
            auto guard = ledger.lock();
            requests = ledger.sound().records().buffer_requests.size();
            plays = ledger.sound().records().plays.size();
        }
        std::vector<std::string> failures;
        click_detent(host, static_cast<int>(random() % 7), lit, failures);
        for (const std::string& f : failures) fail(f);
        if (clip_started(ledger, requests, plays))
            ++report.clips_started;
        else
            fail("the click did not start its clip");
        keep_most(report.most_held, ledger.held());
        ++report.clicks;
    }
    kill_and_check();
    host.unload();
    for (const std::string& problem : ledger.problems()) fail("ledger: " + problem);
    return report;
}

}  // namespace load
