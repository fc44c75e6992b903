#include "standin/program/crash_report.h"

#include <windows.h>

#include <cstdio>
#include <iostream>

#include "standin/faults/describe.h"

namespace standin {
namespace {

std::function<std::string()> call_in_progress;
LPTOP_LEVEL_EXCEPTION_FILTER earlier_filter = nullptr;

LONG WINAPI report_crash(EXCEPTION_POINTERS* exception) {
    const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
    const std::string call = call_in_progress ? call_in_progress() : std::string();
    std::cout.flush();
    std::fprintf(stderr, "standin: the module crashed: %s at %s, %s\n", faults::exception_text(record).c_str(),
                 faults::code_address_text(record.ExceptionAddress).c_str(),
                 call.empty() ? "outside any host call" : ("during " + call).c_str());
    std::fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), module_crash_exit_code);
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

crash_report::crash_report(std::function<std::string()> call) {
    call_in_progress = std::move(call);
    earlier_filter = SetUnhandledExceptionFilter(report_crash);
}

crash_report::~crash_report() {
    SetUnhandledExceptionFilter(earlier_filter);
    call_in_progress = nullptr;
}

}  // namespace standin
