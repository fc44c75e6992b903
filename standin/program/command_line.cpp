#include "standin/program/command_line.h"

#include <windows.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>

namespace standin {

const char* const usage =
    "usage: standin --gau FILE [options]\n"
    "  --gau FILE           the gauge module (.gau) to load\n"
    "  --window             show the gauge in a window and click it with the mouse\n"
    "                       (L: panel lights on/off and re-open, Esc: quit)\n"
    "  --scale N            pixels per gauge pixel in the window (6) or the picture (8)\n"
    "  --lights on|off|NUMBER  the panel-lights variable at initialize (on)\n"
    "  --frames N           frames drawn before the first press (1)\n"
    "  --click X,Y          press at gauge pixel X,Y (repeatable)\n"
    "  --detent K           press at the centre of mark K's box (repeatable)\n"
    "  --tour               press every mark with the lights on, then off\n"
    "  --png FILE           write the last picture (with --tour: all of them)\n"
    "  --log FILE           also write the log to FILE\n"
    "  --no-window          no FS98MAIN window for the gauge to find\n"
    "  --no-registry        no simulator registry key\n"
    "  --no-player-name     the key without its PlayerName value\n"
    "  --no-path            the key without its path value\n"
    "  --path-value TEXT    this path value instead of the install folder\n"
    "  --no-click-file      no Sound\\click.wav in the install folder\n"
    "  --click-file FILE    this file as Sound\\click.wav (default: click.wav beside standin.exe)\n"
    "  --no-ligar           no gauge on the panel publishes \"ligar\"\n"
    "  --page-heap          each block of the module against a no-access page: touching past it fails the run\n"
    "  --page-heap-before   the same with the no-access page before each block\n"
    "  --help               this list\n"
    "exit code: 0 all well, 1 a check failed, 2 the run could not be made, 3 the module crashed\n";

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
        auto next = [&]() -> std::string {
            if (i + 1 >= argc) throw std::invalid_argument(option + " needs a value");
            return argv[++i];
        };
        if (option == "--help") plan.help = true;
        else if (option == "--gau") plan.gau = next();
        else if (option == "--window") plan.window = true;
        else if (option == "--lights") plan.options.panel_lights = lights_value(next());
        else if (option == "--frames") plan.frames = whole_number(option, next(), 0, 1000000);
        else if (option == "--click") plan.presses.push_back(pixel_press(next()));
        else if (option == "--detent") plan.presses.push_back({whole_number(option, next(), 0, 255), 0, 0});
        else if (option == "--png") plan.png = next();
        else if (option == "--scale") plan.scale = whole_number(option, next(), 1, 32);
        else if (option == "--log") plan.log = next();
        else if (option == "--tour") plan.tour = true;
        else if (option == "--no-window") plan.options.main_window = false;
        else if (option == "--no-registry") plan.options.registry_key = false;
        else if (option == "--no-player-name") plan.options.player_name.reset();
        else if (option == "--no-path") plan.options.path_value = false;
        else if (option == "--path-value") plan.options.path_override = registry_text(next());
        else if (option == "--no-click-file") plan.options.click_source.reset();
        else if (option == "--click-file") plan.options.click_source = readable_file(option, next());
        else if (option == "--no-ligar") plan.options.publish_ligar = false;
        else if (option == "--page-heap") plan.heap = traps::heap_layout::guard_after;
        else if (option == "--page-heap-before") plan.heap = traps::heap_layout::guard_before;
        else throw std::invalid_argument("unknown option " + option);
    }
    if (!plan.help) check_combination(plan);
    return plan;
}

}  // namespace standin
