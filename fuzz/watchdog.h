// Ends the process when a case stops making progress: a hang in the module
// (or in a platform call it makes) is a failure like any other. A crash on
// any thread while it watches is reported with the case's seed too.
// A hang never ends, so the quiet time allowed is long: on a loaded machine
// running 32-bit code through an emulator one step of a case on real sound
// has taken over 5 s, and a shorter limit reported such a slow case as hung.
#pragma once
#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "standin/traps/crash_filter.h"

namespace fuzz {

constexpr int hang_exit_code = 3;
constexpr int crash_exit_code = 4;

class watchdog {
public:
    explicit watchdog(DWORD quiet_ms = 60000);
    ~watchdog();
    watchdog(const watchdog&) = delete;
    watchdog& operator=(const watchdog&) = delete;

    void begin_case(std::uint32_t seed, const std::string& description);
    void progress() { ++steps_; }

private:
    void watch();

    const DWORD quiet_ms_;
    std::atomic<std::uint64_t> steps_{0};
    std::mutex mutex_;
    std::condition_variable stop_signal_;
    bool stopping_ = false;
    std::uint32_t seed_ = 0;
    std::string description_;
    std::thread thread_;
    traps::crash_filter crash_filter_;
};

}  // namespace fuzz
