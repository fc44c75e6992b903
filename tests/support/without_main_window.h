// The host as the suites set it up when no sound is wanted.
#pragma once
#include "standin/host/standin_host.h"

// No FS98MAIN window: the gauge's sound set-up then fails silently.
inline standin::host_options without_main_window() {
    standin::host_options options;
    options.main_window = false;
    return options;
}
