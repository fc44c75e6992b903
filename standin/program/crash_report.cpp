#include "standin/program/crash_report.h"

#include <cstdio>
#include <iostream>
#include <utility>

namespace standin {

crash_report::crash_report(std::function<std::string()> call_in_progress)
    : filter_(module_crash_exit_code,
              [call_in_progress = std::move(call_in_progress)](const std::string& exception, const std::string& where) {
                  const std::string call = call_in_progress ? call_in_progress() : std::string();
                  std::cout.flush();
                  std::fprintf(stderr, "standin: the module crashed: %s at %s, %s\n", exception.c_str(), where.c_str(),
                               call.empty() ? "outside any host call" : ("during " + call).c_str());
              }) {}

}  // namespace standin
