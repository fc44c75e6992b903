// The steps every hook takes around its work.
#pragma once
#include <windows.h>

#include <climits>
#include <mutex>
#include <optional>
#include <string>

#include "standin/ledger/hook_target.h"

namespace faults {

// The installed ledger locked and the call counted against its failure plan,
// for the life of one hooked call. The thread's last error is kept as the
// module would see it: as the real call left it, or as an injected failure
// sets it, whatever the bookkeeping does meanwhile.
class hooked_call {
public:
    explicit hooked_call(api which)
        : which_(which), ledger_(hooked_ledger()), guard_(ledger_.lock()), verdict_(ledger_.enter(which)) {}
    hooked_call(const hooked_call&) = delete;
    hooked_call& operator=(const hooked_call&) = delete;

    // The ledger fails this call; the real function is not called.
    bool failing() const { return verdict_.fail; }
    long code() const { return verdict_.code; }
    const verdict& outcome() const { return verdict_; }
    call_mark mark() const { return {verdict_.seq, verdict_.fail}; }
    hook_target& owner() { return ledger_; }
    ledger_state& state() { return ledger_.state(); }

    // For calls that report failure in the thread's last error.
    void fail_in_last_error() { error_.value = static_cast<DWORD>(verdict_.code); }
    // The function the module imported, called with `args`.
    template <class Function, class... Args>
    auto real(Args... args) {
        auto result = original<Function>()(args...);
        error_.value = GetLastError();
        return result;
    }
    // The same from the ledger's page heap, which sets the last error as the platform would.
    template <class Step>
    auto from_page_heap(Step step) {
        SetLastError(error_.value);
        auto result = step(ledger_.page_heap());
        error_.value = GetLastError();
        return result;
    }
    template <class Function>
    Function* original() const {
        return reinterpret_cast<Function*>(ledger_.original(which_));
    }

private:
    struct kept_error {
        ~kept_error() { SetLastError(value); }
        DWORD value = GetLastError();
    };
    kept_error error_;  // first: taken before, and restored after, everything else
    api which_;
    hook_target& ledger_;
    std::unique_lock<std::recursive_mutex> guard_;
    verdict verdict_;
};

// The string a pointer the module passed points at, or nullopt when it is
// null or unreadable. IsBadStringPtrA probes under an exception handler, as
// lstrcpyA itself does.
inline std::optional<std::string> read_string(const char* s) {
    if (!s || IsBadStringPtrA(s, UINT_MAX)) return std::nullopt;
    return std::string(s);
}

}  // namespace faults
