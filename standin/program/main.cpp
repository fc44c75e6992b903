// standin.exe: runs a panel-gauge module the way the simulator would, for a
// person to watch: prints the log, writes a picture of the gauge, or shows it
// in a window to be clicked.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>

#include "standin/environment/leave_process.h"
#include "standin/host/module_file.h"
#include "standin/host/standin_host.h"
#include "standin/pictures/png_output.h"
#include "standin/program/command_line.h"
#include "standin/program/crash_report.h"
#include "standin/program/ledger_report.h"
#include "standin/program/tour.h"
#include "standin/program/window_run.h"
#include "standin/watched_host/watched_host.h"

namespace {

constexpr int window_scale = 6;
constexpr int picture_scale = 8;

// Clicks, frames and the picture; a step that fails throws.
void run_batch(const standin::run_plan& plan, standin::host& h) {
    const int scale = plan.scale.value_or(picture_scale);
    if (plan.tour) {
        const auto rows = standin::tour(h);
        if (!plan.png.empty()) standin::write_png_grid(rows, scale, scale, plan.png);
        return;
    }
    h.install();
    h.initialize();
    for (int i = 0; i < plan.frames; ++i) h.frame();
    for (const standin::press& p : plan.presses) {
        if (p.detent) h.click_detent(*p.detent);
        else h.click(p.x, p.y);
        h.frame();
    }
    h.frame();
    if (!plan.png.empty()) standin::write_png(h.picture(), scale, plan.png);
    h.kill();
}

bool run_window(const standin::run_plan& plan, standin::host& h, const standin::ledger_report& report) {
    h.install();
    h.initialize();
    bool ran = false;
    {
        standin::window_run window(h, report, plan.scale.value_or(window_scale));
        ran = window.run();
    }
    h.kill();
    return ran;
}

// The checks every run ends with: the host's errors, and what the module
// misused or still holds once killed. 0 when all was well.
int checked_exit(const standin::host& h, const standin::ledger_report& report, bool ran) {
    bool well = ran && h.errors().empty();
    for (const std::string& error : h.errors()) std::fprintf(stderr, "standin: %s\n", error.c_str());
    for (const std::string& failure : report.failures_after_kill()) {
        std::fprintf(stderr, "standin: %s\n", failure.c_str());
        well = false;
    }
    return well ? 0 : 1;
}

int run_program(int argc, char** argv) {
    standin::run_plan plan;
    try {
        plan = standin::parse_command_line(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "standin: %s\n%s", e.what(), standin::usage().c_str());
        return 2;
    }
    if (plan.help) {
        std::fputs(standin::usage().c_str(), stdout);
        return 0;
    }
    std::ofstream log_file;
    if (!plan.log.empty()) {
        log_file.open(plan.log);
        if (!log_file) {
            std::fprintf(stderr, "standin: --log %s: cannot write it\n", plan.log.c_str());
            return 2;
        }
    }
    // Each line is flushed as it is made, so the log is whole even if the
    // module brings the process down.
    plan.options.sink = [&log_file](const std::string& line) {
        std::cout << line << '\n' << std::flush;
        if (log_file.is_open()) log_file << line << '\n' << std::flush;
    };
    plan.options.log_frames = !plan.window;   // 18 frames a second would drown the clicks
    plan.options.keep_log = false;            // printed as it is made, read back by no one
    try {
        standin::host* reporting = nullptr;
        const standin::crash_report crash([&reporting] { return reporting ? reporting->call_in_progress() : ""; });
        // Loaded before the host makes its registry key and folder, so that a
        // module that can't load leaves nothing to clean up.
        HMODULE module = standin::load_module_file(plan.gau);
        // The ledger fails nothing here, and the module's sound goes to the real device.
        std::optional<standin::ledger_report> report;
        plan.options.after_module_step = [&report] {
            if (report) report->look();
        };
        std::optional<standin::watched_host> watched;
        try {
            watched.emplace(plan.options, standin::watch_settings{faults::sound_mode::forward, plan.heap, true});
        } catch (...) {
            FreeLibrary(module);
            throw;
        }
        standin::host& h = watched->host;
        reporting = &h;
        report.emplace(watched->ledger, [&h](const std::string& line) { h.note(line); });
        watched->load(module, plan.gau);
        if (!watched->ledger.installed()) h.note("sound: not watched (" + watched->install_error() + ")");
        bool ran = true;
        if (plan.window) ran = run_window(plan, h, *report);
        else run_batch(plan, h);
        h.unload();
        return checked_exit(h, *report, ran);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "standin: %s\n", e.what());
        return 2;
    }
}

}  // namespace

int main(int argc, char** argv) { standin::leave_process(run_program(argc, argv)); }
