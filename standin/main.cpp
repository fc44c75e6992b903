// standin.exe: runs a panel-gauge module the way the simulator would, for a
// person to watch: prints the log, writes a picture of the gauge.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "leave_process.h"
#include "png_output.h"
#include "standin_host.h"
#include "tour.h"

namespace {

constexpr const char* usage =
    "usage: standin --gau FILE [--lights on|off|NUMBER] [--frames N] [--click X,Y]...\n"
    "               [--png FILE] [--scale N] [--log FILE] [--tour]\n"
    "               [--no-window] [--no-registry] [--no-player-name] [--no-path]\n"
    "               [--path-value TEXT] [--no-click-file] [--click-file FILE] [--no-ligar]\n";

struct run_plan {
    std::string gau;
    int frames = 1;
    std::vector<std::pair<int, int>> clicks;
    std::string png;
    int scale = 8;
    std::string log;
    bool tour = false;
    standin::host_options options;
};

double lights_value(const std::string& text) {
    if (text == "on") return 1.0;
    if (text == "off") return 0.0;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end) throw std::invalid_argument("--lights takes on, off or a number");
    return value;
}

int whole_number(const std::string& text, const char* option) {
    size_t used = 0;
    const int value = std::stoi(text, &used);
    if (used != text.size()) throw std::invalid_argument(std::string(option) + " takes a number");
    return value;
}

run_plan parse(int argc, char** argv) {
    run_plan plan;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        auto next = [&]() -> std::string {
            if (i + 1 >= argc) throw std::invalid_argument(option + " needs a value");
            return argv[++i];
        };
        if (option == "--gau") plan.gau = next();
        else if (option == "--lights") plan.options.panel_lights = lights_value(next());
        else if (option == "--frames") plan.frames = whole_number(next(), "--frames");
        else if (option == "--click") {
            const std::string point = next();
            const size_t comma = point.find(',');
            if (comma == std::string::npos) throw std::invalid_argument("--click takes X,Y");
            plan.clicks.push_back({whole_number(point.substr(0, comma), "--click"),
                                   whole_number(point.substr(comma + 1), "--click")});
        }
        else if (option == "--png") plan.png = next();
        else if (option == "--scale") plan.scale = whole_number(next(), "--scale");
        else if (option == "--log") plan.log = next();
        else if (option == "--tour") plan.tour = true;
        else if (option == "--no-window") plan.options.main_window = false;
        else if (option == "--no-registry") plan.options.registry_key = false;
        else if (option == "--no-player-name") plan.options.player_name.reset();
        else if (option == "--no-path") plan.options.path_value = false;
        else if (option == "--path-value") plan.options.path_override = standin::registry_text(next());
        else if (option == "--no-click-file") plan.options.click_source.reset();
        else if (option == "--click-file") plan.options.click_source = next();
        else if (option == "--no-ligar") plan.options.publish_ligar = false;
        else throw std::invalid_argument("unknown option " + option);
    }
    if (plan.gau.empty()) throw std::invalid_argument("--gau is required");
    return plan;
}

void run(const run_plan& plan, standin::host& h) {
    h.load(plan.gau);
    if (plan.tour) {
        const auto rows = standin::tour(h);
        if (!plan.png.empty()) standin::write_png_grid(rows, plan.scale, plan.scale, plan.png);
    } else {
        h.install();
        h.initialize();
        for (int i = 0; i < plan.frames; ++i) h.frame();
        for (const auto& [x, y] : plan.clicks) {
            h.click(x, y);
            h.frame();
        }
        h.frame();
        if (!plan.png.empty()) standin::write_png(h.picture(), plan.scale, plan.png);
        h.kill();
    }
    h.unload();
}

}  // namespace

static int run_program(int argc, char** argv) {
    run_plan plan;
    try {
        plan = parse(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "standin: %s\n%s", e.what(), usage);
        return 2;
    }
    std::ofstream log_file;
    if (!plan.log.empty()) {
        log_file.open(plan.log);
        if (!log_file) {
            std::fprintf(stderr, "standin: cannot write %s\n", plan.log.c_str());
            return 2;
        }
    }
    // Each line is flushed as it is made, so the log is whole even if the
    // module brings the process down.
    plan.options.sink = [&log_file](const std::string& line) {
        std::cout << line << std::endl;
        if (log_file.is_open()) log_file << line << std::endl;
    };
    try {
        standin::host h(plan.options);
        run(plan, h);
        for (const std::string& error : h.errors()) std::fprintf(stderr, "standin: %s\n", error.c_str());
        return h.errors().empty() ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "standin: %s\n", e.what());
        return 2;
    }
}

int main(int argc, char** argv) { standin::leave_process(run_program(argc, argv)); }
