// lstrcpyA, lstrcatA and lstrlenA: the module builds its file and registry
// paths with these, so the strings are recorded.
#include "standin/faults/describe.h"
#include "standin/faults/hook_table.h"
#include "standin/faults/ledger.h"

namespace faults {
namespace {

LPSTR WINAPI hook_lstrcpyA(LPSTR dest, LPCSTR source) {
    last_error_keeper error;
    ledger& l = hooked_ledger();
    auto guard = l.lock();
    verdict v = l.enter(api::lstrcpyA);
    string_call call{{v.seq, v.fail}, api::lstrcpyA, std::nullopt, read_string(source), std::nullopt};
    LPSTR result = nullptr;
    if (v.fail) {
        error.set(v.code);
    } else {
        result = l.real<decltype(&lstrcpyA)>(api::lstrcpyA)(dest, source);
        error.capture();
        if (result) call.result = read_string(dest);
    }
    l.state().strings.push_back(std::move(call));
    return result;
}

LPSTR WINAPI hook_lstrcatA(LPSTR dest, LPCSTR source) {
    last_error_keeper error;
    ledger& l = hooked_ledger();
    auto guard = l.lock();
    verdict v = l.enter(api::lstrcatA);
    string_call call{{v.seq, v.fail}, api::lstrcatA, read_string(dest), read_string(source), std::nullopt};
    LPSTR result = nullptr;
    if (v.fail) {
        error.set(v.code);
    } else {
        result = l.real<decltype(&lstrcatA)>(api::lstrcatA)(dest, source);
        error.capture();
        if (result) call.result = read_string(dest);
    }
    l.state().strings.push_back(std::move(call));
    return result;
}

int WINAPI hook_lstrlenA(LPCSTR s) {
    last_error_keeper error;
    ledger& l = hooked_ledger();
    auto guard = l.lock();
    verdict v = l.enter(api::lstrlenA);
    if (v.fail) {
        error.set(v.code);
        return 0;
    }
    int n = l.real<decltype(&lstrlenA)>(api::lstrlenA)(s);
    error.capture();
    return n;
}

const hook_entry table[] = {
    {api::lstrcpyA, {"kernel32.dll", "lstrcpyA"}, reinterpret_cast<void*>(hook_lstrcpyA), true},
    {api::lstrcatA, {"kernel32.dll", "lstrcatA"}, reinterpret_cast<void*>(hook_lstrcatA), true},
    {api::lstrlenA, {"kernel32.dll", "lstrlenA"}, reinterpret_cast<void*>(hook_lstrlenA), false},
};

}  // namespace

std::span<const hook_entry> string_hooks() { return table; }

}  // namespace faults
