#include "standin/program/ledger_report.h"

#include <cstddef>
#include <utility>

#include "standin/log/value_text.h"

namespace standin {

ledger_report::ledger_report(const faults::ledger& ledger, std::function<void(const std::string&)> report)
    : report_(std::move(report)), ledger_(ledger) {}

void ledger_report::look() {
    if (!ledger_.installed()) return;
    const std::uint64_t opens = ledger_.calls(faults::api::DirectSoundCreate);
    if (opens != opens_seen_) {
        opens_seen_ = opens;
        const faults::sound_log sound = ledger_.sound_calls();
        const HRESULT result = sound.creates.empty() ? S_OK : sound.creates.back().result;
        if (FAILED(result))
            report_("sound: the gauge's sound device did not open (DirectSoundCreate returned " +
                    hex_text(static_cast<std::uint32_t>(result)) + "): its clicks will be silent");
    }
    const std::size_t devices = ledger_.held().devices;
    if ((devices > 0) != (devices_seen_ > 0))
        report_(devices > 0 ? "sound: the gauge's sound device is open"
                            : "sound: the gauge's sound device is closed");
    devices_seen_ = devices;
    const std::uint64_t plays = ledger_.calls(faults::api::buffer_Play);
    for (; plays_seen_ < plays; ++plays_seen_)
        report_("sound: clip started (" + std::to_string(plays_seen_ + 1) + " so far)");
    const std::vector<traps::guard_fault> found = ledger_.guard_faults();
    for (; guard_faults_seen_ < found.size(); ++guard_faults_seen_)
        report_("page heap: " + traps::guard_fault_text(found[guard_faults_seen_]));
}

std::vector<std::string> ledger_report::failures_after_kill() const {
    if (!ledger_.installed()) return {};
    std::vector<std::string> failures = ledger_.problems();
    const faults::held_resources held = ledger_.held();
    if (!held.none()) failures.push_back("the module still holds " + faults::held_text(held) + " after its kill");
    return failures;
}

}  // namespace standin
