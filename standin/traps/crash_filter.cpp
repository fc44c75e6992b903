#include "standin/traps/crash_filter.h"

#include <cstdio>
#include <utility>

#include "standin/traps/exception_text.h"

namespace traps {
namespace {

int crash_exit_code = 0;
crash_filter::teller crash_teller;

LONG WINAPI on_unhandled(EXCEPTION_POINTERS* exception) {
    const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
    if (crash_teller) crash_teller(exception_text(record), code_address_text(record.ExceptionAddress));
    std::fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), crash_exit_code);
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

crash_filter::crash_filter(int exit_code, teller tell) {
    crash_exit_code = exit_code;
    crash_teller = std::move(tell);
    earlier_ = SetUnhandledExceptionFilter(on_unhandled);
}

crash_filter::~crash_filter() {
    SetUnhandledExceptionFilter(earlier_);
    crash_teller = nullptr;
}

}  // namespace traps
