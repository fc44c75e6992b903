#include "fuzz/watchdog.h"

#include <chrono>
#include <cstdio>


namespace fuzz {

watchdog::watchdog(DWORD quiet_ms)
    : quiet_ms_(quiet_ms),
      thread_([this] { watch(); }),
      crash_filter_(crash_exit_code, [this](const std::string& exception, const std::string& where) {
          std::printf("CRASH seed 0x%08X: %s (%s at %s)\n", seed_, description_.c_str(), exception.c_str(),
                      where.c_str());
      }) {}

watchdog::~watchdog() {
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
