#include "standin/program/command_line.h"

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <iterator>
#include <stdexcept>

namespace standin {

namespace {

[[noreturn]] void refuse(const std::string& option, const std::string& value, const std::string& why) {
    throw std::invalid_argument(option + " " + value + ": " + why);
}

// `part` of the option's value `text` as a whole number within [least, most].
int whole_number(const std::string& option, const std::string& text, const std::string& part, long least,
                 long most) {
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(part.c_str(), &end, 10);
    if (part.empty() || *end || errno == ERANGE) refuse(option, text, "not a whole number");
    if (value < least || value > most)
        refuse(option, text, "out of range " + std::to_string(least) + " to " + std::to_string(most));
    return static_cast<int>(value);
}

int whole_number(const std::string& option, const std::string& text, long least, long most) {
    return whole_number(option, text, text, least, most);
}

double lights_value(const std::string& text) {
    if (text == "on") return 1.0;
    if (text == "off") return 0.0;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end) refuse("--lights", text, "takes on, off or a number");
    return value;
}

press pixel_press(const std::string& text) {
    const size_t comma = text.find(',');
    if (comma == std::string::npos) refuse("--click", text, "takes X,Y");
    constexpr long farthest = 1 << 20;
    return {std::nullopt, whole_number("--click", text, text.substr(0, comma), -farthest, farthest),
            whole_number("--click", text, text.substr(comma + 1), -farthest, farthest)};
}

std::string readable_file(const std::string& option, const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        refuse(option, path, "no such file");
    return path;
}

// One option: its name, the value that follows it as --help names it (none
// for a switch), its line in --help ('\n' starts another) and what it sets.
// Both the parser and --help read this table.
struct option_rule {
    const char* name;
    const char* value;
    const char* help;
    void (*take)(run_plan& plan, const std::string& value);
};

const option_rule rules[] = {
    {"--gau", "FILE", "the gauge module (.gau) to load", [](run_plan& p, const std::string& v) { p.gau = v; }},
    {"--window", nullptr,
     "show the gauge in a window and click it with the mouse\n(L: panel lights on/off and re-open, Esc: quit)",
     [](run_plan& p, const std::string&) { p.window = true; }},
    {"--scale", "N", "pixels per gauge pixel in the window (6) or the picture (8)",
     [](run_plan& p, const std::string& v) { p.scale = whole_number("--scale", v, 1, 32); }},
    {"--lights", "on|off|NUMBER", "the panel-lights variable at initialize (on)",
     [](run_plan& p, const std::string& v) { p.options.panel_lights = lights_value(v); }},
    {"--frames", "N", "frames drawn before the first press (1)",
     [](run_plan& p, const std::string& v) { p.frames = whole_number("--frames", v, 0, 1000000); }},
    {"--click", "X,Y", "press at gauge pixel X,Y (repeatable)",
     [](run_plan& p, const std::string& v) { p.presses.push_back(pixel_press(v)); }},
    {"--detent", "K", "press at the centre of mark K's box (repeatable)",
     [](run_plan& p, const std::string& v) { p.presses.push_back({whole_number("--detent", v, 0, 255), 0, 0}); }},
    {"--tour", nullptr, "press every mark with the lights on, then off",
     [](run_plan& p, const std::string&) { p.tour = true; }},
    {"--png", "FILE", "write the last picture (with --tour: all of them)",
     [](run_plan& p, const std::string& v) { p.png = v; }},
    {"--log", "FILE", "also write the log to FILE", [](run_plan& p, const std::string& v) { p.log = v; }},
    {"--no-window", nullptr, "no FS98MAIN window for the gauge to find",
     [](run_plan& p, const std::string&) { p.options.main_window = false; }},
    {"--no-registry", nullptr, "no simulator registry key",
     [](run_plan& p, const std::string&) { p.options.registry_key = false; }},
    {"--no-player-name", nullptr, "the key without its PlayerName value",
     [](run_plan& p, const std::string&) { p.options.player_name.reset(); }},
    {"--no-path", nullptr, "the key without its path value",
     [](run_plan& p, const std::string&) { p.options.path_value = false; }},
    {"--path-value", "TEXT", "this path value instead of the install folder",
     [](run_plan& p, const std::string& v) { p.options.path_override = registry_text(v); }},
    {"--no-click-file", nullptr, "no Sound\\click.wav in the install folder",
     [](run_plan& p, const std::string&) { p.options.click_source.reset(); }},
    {"--click-file", "FILE", "this file as Sound\\click.wav (default: click.wav beside standin.exe)",
     [](run_plan& p, const std::string& v) { p.options.click_source = readable_file("--click-file", v); }},
    {"--no-ligar", nullptr, "no gauge on the panel publishes \"ligar\"",
     [](run_plan& p, const std::string&) { p.options.publish_ligar = false; }},
    {"--page-heap", nullptr, "each block of the module against a no-access page: touching past it fails the run",
     [](run_plan& p, const std::string&) { p.heap = traps::heap_layout::guard_after; }},
    {"--page-heap-before", nullptr, "the same with the no-access page before each block",
     [](run_plan& p, const std::string&) { p.heap = traps::heap_layout::guard_before; }},
    {"--help", nullptr, "this list", [](run_plan& p, const std::string&) { p.help = true; }},
};

// Where each option's help starts in --help.
constexpr std::size_t help_column = 23;

void check_combination(const run_plan& plan) {
    if (plan.gau.empty()) throw std::invalid_argument("--gau is required");
    // The default click too: a standin.exe copied without its click.wav is told so now.
    if (plan.options.click_source) readable_file("--click-file", *plan.options.click_source);
    if (!plan.window) return;
    const char* batch_only = plan.tour ? "--tour"
                             : !plan.presses.empty() ? "--click and --detent"
                             : !plan.png.empty() ? "--png"
                                                 : nullptr;
    if (batch_only) throw std::invalid_argument(std::string(batch_only) + " cannot be used with --window");
    if (!plan.options.main_window) throw std::invalid_argument("--no-window cannot be used with --window");
}

}  // namespace

run_plan parse_command_line(int argc, char** argv) {
    run_plan plan;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const auto rule = std::find_if(std::begin(rules), std::end(rules),
                                       [&option](const option_rule& r) { return option == r.name; });
        if (rule == std::end(rules)) throw std::invalid_argument("unknown option " + option);
        std::string value;
        if (rule->value) {
            if (i + 1 >= argc) throw std::invalid_argument(option + " needs a value");
            value = argv[++i];
        }
        rule->take(plan, value);
    }
    if (!plan.help) check_combination(plan);
    return plan;
}

std::string usage() {
    std::string text = "usage: standin --gau FILE [options]\n";
    for (const option_rule& rule : rules) {
        std::string line = std::string("  ") + rule.name + (rule.value ? std::string(" ") + rule.value : "");
        line.append(line.size() + 2 <= help_column ? help_column - line.size() : 2, ' ');
        for (const char* c = rule.help; *c; ++c)
            line += *c == '\n' ? "\n" + std::string(help_column, ' ') : std::string(1, *c);
        text += line + "\n";
    }
    return text + "exit code: 0 all well, 1 a check failed, 2 the run could not be made, 3 the module crashed\n";
}

}  // namespace standin
