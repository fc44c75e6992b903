// The hooks that stand in for the module's imports, and the steps every one
// of them takes around its work.
#pragma once

#include <mutex>
#include <windows.h>
#include <dsound.h>
#include <mmsystem.h>

#include "standin/faults/ledger.h"

namespace faults {

// One hook per import, of the same type as the function it stands in for.
#define FAULTS_HOOK_DECLARATION(name, ...) decltype(::name) hook_##name;
FAULTS_IMPORTS(FAULTS_HOOK_DECLARATION)
#undef FAULTS_HOOK_DECLARATION

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
    ledger& owner() { return ledger_; }
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
    auto from_blocks(Step step) {
        SetLastError(error_.value);
        auto result = step(ledger_.blocks());
        error_.value = GetLastError();
        return result;
    }
    template <class Function>
    Function* original() const {
        return ledger_.real<Function*>(which_);
    }

private:
    struct kept_error {
        ~kept_error() { SetLastError(value); }
        DWORD value = GetLastError();
    };
    kept_error error_;  // first: taken before, and restored after, everything else
    api which_;
    ledger& ledger_;
    std::unique_lock<std::recursive_mutex> guard_;
    verdict verdict_;
};

}  // namespace faults
