// A fault that nothing in the process handles, told in one line of the
// program's own in place of Wine's "Unhandled ... starting debugger", and the
// process ended at once with a code that says it crashed.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace traps {

// At most one at a time.
class crash_filter {
public:
    // `tell` gets the exception ("illegal instruction") and where it happened
    // ("panel_dimmer.gau+0x1585"), on the crashing thread; then the process
    // ends with `exit_code`.
    using teller = std::function<void(const std::string& exception, const std::string& where)>;
    crash_filter(int exit_code, teller tell);
    ~crash_filter();
    crash_filter(const crash_filter&) = delete;
    crash_filter& operator=(const crash_filter&) = delete;

private:
    LPTOP_LEVEL_EXCEPTION_FILTER earlier_;
};

}  // namespace traps
