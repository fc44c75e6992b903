// One line of the stand-in's own for a fault that nothing in the process
// handles, in place of Wine's "Unhandled ... starting debugger": the
// exception, where it happened as a module's name plus an offset, and the
// host call in progress. The run then ends at once with
// module_crash_exit_code; what it leaves of its private registry key and
// install folder, the next run removes.
#pragma once
#include <functional>
#include <string>

#include "standin/traps/crash_filter.h"

namespace standin {

constexpr int module_crash_exit_code = 3;

// At most one at a time.
class crash_report {
public:
    // `call_in_progress` is asked on the crashing thread.
    explicit crash_report(std::function<std::string()> call_in_progress);

private:
    traps::crash_filter filter_;
};

}  // namespace standin
