// The name of one stand-in run, "<process id>-<process start time>", which
// the run's private registry key and install folder carry, so that a later
// run can tell those of a run that ended without removing them (crashed, or
// killed from outside) from those of a run still going.
#pragma once
#include <string>

namespace standin {

// This process's run name. Throws std::runtime_error if the system won't tell.
std::string this_run_name();

// Whether `text` has the form of a run name.
bool is_run_name(const std::string& text);

// Whether the run of that name is still going. A process this one may not
// look at counts as going.
bool run_going(const std::string& name);

}  // namespace standin
