// What the hooks need of the installed ledger: the call gate, the records
// they write, the functions the module imported, and the sound recorder that
// DirectSoundCreate hands over to. The ledger implements it; the hooks see
// nothing else of the ledger.
#pragma once
#include <string>
#include <vector>

#include "standin/ledger/api.h"
#include "standin/ledger/call_gate.h"
#include "standin/ledger/records.h"
#include "standin/ledger/sound_recorder.h"

namespace faults {

// Everything the hooks write to.
struct ledger_state {
    memory_log memory;
    registry_log registry;
    mmio_log mmio;
    std::vector<string_call> strings;
    std::vector<find_window_call> windows;
    std::vector<traps::guard_fault> guard_faults;  // each also one of the problems
    std::vector<std::string> problems;
};

class hook_target : public call_gate {
public:
    virtual ledger_state& state() = 0;
    // The address the module's import table held before the hook.
    virtual void* original(api a) const = 0;
    virtual sound_recorder& sound() = 0;

protected:
    ~hook_target() = default;
};

// The installed ledger. With none installed it stops the process with a
// message, since a hooked call then has nowhere to go.
hook_target& hooked_ledger();

}  // namespace faults
