// lstrcpyA, lstrcatA and lstrlenA: the module builds its file and registry
// paths with these, so the strings are recorded.
#include <optional>
#include <utility>

#include "standin/ledger/hooked_call.h"
#include "standin/ledger/hooks.h"

namespace faults {
namespace {

// lstrcpyA and lstrcatA alike: the source and what the destination became.
template <class Function>
LPSTR record_copy(api which, LPSTR dest, LPCSTR source) {
    hooked_call call(which);
    string_call record{call.mark(), which, read_string(source), std::nullopt};
    LPSTR result = nullptr;
    if (call.failing()) {
        call.fail_in_last_error();
    } else {
        result = call.real<Function>(dest, source);
        if (result) record.result = read_string(dest);
    }
    call.state().strings.push_back(std::move(record));
    return result;
}

}  // namespace

LPSTR WINAPI hook_lstrcpyA(LPSTR dest, LPCSTR source) {
    return record_copy<decltype(lstrcpyA)>(api::lstrcpyA, dest, source);
}

LPSTR WINAPI hook_lstrcatA(LPSTR dest, LPCSTR source) {
    return record_copy<decltype(lstrcatA)>(api::lstrcatA, dest, source);
}

int WINAPI hook_lstrlenA(LPCSTR s) {
    hooked_call call(api::lstrlenA);
    if (!call.failing()) return call.real<decltype(lstrlenA)>(s);
    call.fail_in_last_error();
    return 0;
}

}  // namespace faults
