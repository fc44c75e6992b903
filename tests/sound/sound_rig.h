// The gauge loaded by the stand-in host with the fault ledger on its
// imports, and the moves the sound suites make with it: set it up, click a
// detent, swap the clip, look at what the module holds.
#pragma once
#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "standin/watched_host/watched_host.h"
#include "tests/sound/wave_builder.h"

namespace sound_tests {

class sound_rig {
public:
    // Loads the gauge in a watched host, its blocks from the page heap with
    // a no-access page after each; `mode` applies to the devices the module
    // creates.
    explicit sound_rig(standin::host_options options = {},
                       faults::sound_mode mode = faults::sound_mode::fake);
    // Every problem the ledger saw fails the case: a handle misused, or a
    // DirectSound method called that the module has no reason to call.
    ~sound_rig();

    void install() { host.install(); }
    void initialize() { host.initialize(); }
    void start() {
        install();
        initialize();
    }
    // Clicks the middle of detent's hot spot (0..6); fails the test if no
    // handler ran.
    void click(int detent);

    // Writes <install folder>\Sound\click.wav.
    void put_clip(const wave::bytes& file) const;
    std::string sound_folder() const;   // "<install folder>\\Sound\\" as the module builds it

    // The knob's frame in the picture after a frame of the host's.
    uint32_t knob_frame();

    uint64_t opens() const { return ledger.calls(faults::api::mmioOpenA); }
    uint64_t allocs() const { return ledger.calls(faults::api::GlobalAlloc); }
    std::size_t plays() const { return ledger.summary().plays; }
    std::size_t key_events() const { return host.key_events().size(); }
    faults::sound_log sound_log() const { return ledger.sound_calls(); }
    // Every hooked call so far: the ledger numbers calls 1, 2, ... across all of them.
    uint64_t calls_so_far() const;
    // The hooked calls the module had made when the host logged the first
    // line starting with `prefix` (a service call's name and its "("), so that
    // a hooked call's number says whether it came before or after.
    uint64_t calls_before_line(const std::string& prefix) const;

private:
    standin::host_options observed(standin::host_options options);

    // Each line the host logged, with calls_so_far() at the time; made before
    // the host, which logs from its constructor on.
    std::vector<std::pair<std::string, uint64_t>> host_lines_;
    standin::watched_host watched_;

public:
    faults::ledger& ledger;
    standin::host& host;
};

// How many calls of each hooked function a step made.
class call_counts {
public:
    explicit call_counts(const faults::ledger& ledger) : ledger_(ledger) { restart(); }
    void restart();
    uint64_t operator[](faults::api a) const { return ledger_.calls(a) - start_[faults::index_of(a)]; }

private:
    const faults::ledger& ledger_;
    std::array<uint64_t, faults::api_count> start_{};
};

// Whether a click now reaches the sound: a click on `detent` that opens the clip.
bool click_opens_clip(sound_rig& rig, int detent = 3);

// Runs `step` on a thread of its own; if it hasn't returned after `limit_ms`
// the case is reported hung and the process ends, since the module's thread
// can't be stopped any other way.
void within_time_limit(const std::function<void()>& step, DWORD limit_ms = 5000);

}  // namespace sound_tests
