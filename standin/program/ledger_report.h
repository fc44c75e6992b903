// What the module does with the machine, seen through the fault ledger (see
// standin/faults/ledger.h), which here fails nothing and forwards the
// module's DirectSound to the real device: the log says whether the gauge's
// sound device opened and each clip it starts, so that a run on a machine
// without a sound card says so; and once the gauge is killed, anything the
// module still holds, or any misuse seen, fails the run.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "standin/faults/ledger.h"

namespace standin {

class ledger_report {
public:
    // `report` gets each line for the log; the module's blocks come from `heap`.
    ledger_report(std::function<void(const std::string&)> report, faults::heap_layout heap);

    // What a finding names as the host call in progress.
    void name_calls_by(std::function<std::string()> call_in_progress) {
        ledger_.name_calls_by(std::move(call_in_progress));
    }
    void attach(HMODULE module);     // after LoadLibrary, before module_init
    // Reports what is new since the last look: a sound device that failed to
    // open, opened or closed, each clip started, and each touch of a page
    // heap's no-access page.
    void look();

    std::uint64_t clips_started() const { return plays_seen_; }
    // What is wrong once the gauge is killed: what the module still holds, and its misuse.
    std::vector<std::string> failures_after_kill() const;

private:
    std::function<void(const std::string&)> report_;
    faults::ledger ledger_;          // outlives the module: the host is made after the report
    bool watching_ = false;
    std::uint64_t opens_seen_ = 0;
    std::size_t devices_seen_ = 0;
    std::uint64_t plays_seen_ = 0;
    std::size_t guard_faults_seen_ = 0;
};

}  // namespace standin
