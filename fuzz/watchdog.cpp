#include "fuzz/watchdog.h"

#include <chrono>
#include <cstdio>

#include "standin/faults/describe.h"

namespace fuzz {
namespace {
watchdog* watching = nullptr;  // the one whose case a crash is reported in
}

watchdog::watchdog(DWORD quiet_ms)
    : quiet_ms_(quiet_ms), thread_([this] { watch(); }), earlier_filter_(SetUnhandledExceptionFilter(report_crash)) {
    watching = this;
}

LONG WINAPI watchdog::report_crash(EXCEPTION_POINTERS* exception) {
    if (watching) {
        const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
        std::printf("CRASH seed 0x%08X: %s (%s at %s)\n", watching->seed_, watching->description_.c_str(),
                    faults::exception_text(record).c_str(), faults::code_address_text(record.ExceptionAddress).c_str());
        std::fflush(stdout);
    }
    TerminateProcess(GetCurrentProcess(), crash_exit_code);
    return EXCEPTION_CONTINUE_SEARCH;
}

watchdog::~watchdog() {
    watching = nullptr;
    SetUnhandledExceptionFilter(earlier_filter_);
    {
        std::lock_guard guard(mutex_);
        stopping_ = true;
    }
    stop_signal_.notify_one();
    thread_.join();
}

void watchdog::begin_case(std::uint32_t seed, const std::string& description) {
    std::lock_guard guard(mutex_);
    seed_ = seed;
    description_ = description;
    ++steps_;
}

void watchdog::watch() {
    std::unique_lock guard(mutex_);
    std::uint64_t seen = steps_;
    ULONGLONG since = GetTickCount64();
    while (!stop_signal_.wait_for(guard, std::chrono::milliseconds(250), [this] { return stopping_; })) {
        const std::uint64_t now = steps_;
        if (now != seen) {
            seen = now;
            since = GetTickCount64();
        } else if (GetTickCount64() - since > quiet_ms_) {
            std::printf("HANG seed 0x%08X: %s (no progress for %lu ms)\n", seed_, description_.c_str(), quiet_ms_);
            std::fflush(stdout);
            TerminateProcess(GetCurrentProcess(), hang_exit_code);
        }
    }
}

}  // namespace fuzz
