// standin.exe's command line: what a run does, read and checked before
// anything is set up, all but what only the module answers: whether it
// loads, and whether its mouse table has the hot spot a --detent names, found
// once it is loaded; and whether --png's file can be written, found at the
// end. A run refused then still ends the gauge as the simulator does: kill,
// then module_deinit.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "standin/traps/page_heap.h"
#include "standin/host/host_options.h"

namespace standin {

// One press: at a gauge pixel, or at the centre of a detent's box.
struct press {
    std::optional<int> detent;       // set: --detent K
    int x = 0;                       // else: --click X,Y
    int y = 0;
};

struct run_plan {
    bool help = false;
    std::string gau;
    bool window = false;
    bool tour = false;
    int frames = 1;
    std::vector<press> presses;
    std::string png;
    std::optional<int> scale;        // default: 6 in a window, 8 in a picture
    std::string log;
    traps::heap_layout heap = traps::heap_layout::platform;   // where the module's blocks come from
    host_options options;
};

// Throws std::invalid_argument naming the option and the value at fault.
run_plan parse_command_line(int argc, char** argv);

// --help: the command and one line per option the parser takes.
std::string usage();

}  // namespace standin
