// What the recording DirectSound layer needs of the ledger: its lock, each
// call counted against the failure plan, misuse noted, and the page heap the
// fake device's buffers come from. The ledger implements it; the recording
// layer sees nothing else of the ledger.
#pragma once
#include <cstdint>
#include <mutex>
#include <string>

#include "standin/ledger/api.h"
#include "standin/traps/page_heap.h"

namespace faults {

// How the ledger answers one call: its place in the sequence, and whether to
// fail it with `code` instead of calling the real function.
struct verdict {
    std::uint64_t seq = 0;
    bool fail = false;
    long code = 0;
};

class call_gate {
public:
    virtual std::unique_lock<std::recursive_mutex> lock() const = 0;
    // Counts the call and applies the failure plan.
    virtual verdict enter(api a) = 0;
    virtual void problem(std::string what) = 0;
    virtual traps::page_heap& page_heap() = 0;

protected:
    ~call_gate() = default;
};

}  // namespace faults
