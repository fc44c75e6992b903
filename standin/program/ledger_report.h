// What the module does with the machine, seen through the watched host's
// ledger (see standin/ledger/ledger.h), which here fails nothing and forwards
// the module's DirectSound to the real device: the log says whether the gauge's
// sound device opened and each clip it starts, so that a run on a machine
// without a sound card says so; and once the gauge is killed, anything the
// module still holds, or any misuse seen, fails the run.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "standin/ledger/ledger.h"

namespace standin {

class ledger_report {
public:
    // `report` gets each line for the log.
    ledger_report(const faults::ledger& ledger, std::function<void(const std::string&)> report);

    // Reports what is new since the last look: a sound device that failed to
    // open, opened or closed, each clip started, and each touch of a page
    // heap's no-access page.
    void look();

    std::uint64_t clips_started() const { return plays_seen_; }
    // What is wrong once the gauge is killed: what the module still holds, and its misuse.
    std::vector<std::string> failures_after_kill() const;

private:
    std::function<void(const std::string&)> report_;
    const faults::ledger& ledger_;
    std::uint64_t opens_seen_ = 0;
    std::size_t devices_seen_ = 0;
    std::uint64_t plays_seen_ = 0;
    std::size_t guard_faults_seen_ = 0;
};

}  // namespace standin
