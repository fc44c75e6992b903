// RegOpenKeyExA, RegQueryValueExA, RegCloseKey: counted, failable, and every
// key the module opens is tracked until it closes it.
#include "standin/faults/describe.h"
#include "standin/faults/hook_table.h"
#include "standin/faults/ledger.h"

namespace faults {
namespace {

LSTATUS WINAPI hook_RegOpenKeyExA(HKEY root, LPCSTR subkey, DWORD options, REGSAM access,
                                  PHKEY result) {
    last_error_keeper error;
    ledger& l = hooked_ledger();
    auto guard = l.lock();
    verdict v = l.enter(api::RegOpenKeyExA);
    reg_open_call call{{v.seq, v.fail}, root, read_string(subkey), options, access};
    LSTATUS status = v.code;
    if (!v.fail) {
        status = l.real<decltype(&RegOpenKeyExA)>(api::RegOpenKeyExA)(root, subkey, options,
                                                                      access, result);
        error.capture();
    }
    call.result = status;
    if (status == ERROR_SUCCESS && result) {
        call.key = *result;
        l.state().registry.open_keys.insert(*result);
    }
    l.state().registry.opens.push_back(std::move(call));
    return status;
}

LSTATUS WINAPI hook_RegQueryValueExA(HKEY key, LPCSTR value, LPDWORD reserved, LPDWORD type,
                                     LPBYTE data, LPDWORD size) {
    last_error_keeper error;
    ledger& l = hooked_ledger();
    auto guard = l.lock();
    verdict v = l.enter(api::RegQueryValueExA);
    reg_query_call call{{v.seq, v.fail}, key, read_string(value), data != nullptr, type != nullptr};
    if (size) call.size_in = *size;
    LSTATUS status = v.code;
    if (!v.fail) {
        status = l.real<decltype(&RegQueryValueExA)>(api::RegQueryValueExA)(key, value, reserved,
                                                                            type, data, size);
        error.capture();
        if (size) call.size_out = *size;
        if (type) call.type_out = *type;
    }
    call.result = status;
    l.state().registry.queries.push_back(std::move(call));
    return status;
}

LSTATUS WINAPI hook_RegCloseKey(HKEY key) {
    last_error_keeper error;
    ledger& l = hooked_ledger();
    auto guard = l.lock();
    verdict v = l.enter(api::RegCloseKey);
    if (v.fail) return v.code;
    LSTATUS status = l.real<decltype(&RegCloseKey)>(api::RegCloseKey)(key);
    error.capture();
    std::set<HKEY>& open = l.state().registry.open_keys;
    if (!open.count(key))
        l.problem("RegCloseKey(" + pointer_text(key) + "): not a key the module opened");
    else if (status == ERROR_SUCCESS)
        open.erase(key);
    return status;
}

const hook_entry table[] = {
    {api::RegOpenKeyExA, {"advapi32.dll", "RegOpenKeyExA"}, reinterpret_cast<void*>(hook_RegOpenKeyExA), true},
    {api::RegQueryValueExA, {"advapi32.dll", "RegQueryValueExA"}, reinterpret_cast<void*>(hook_RegQueryValueExA), true},
    {api::RegCloseKey, {"advapi32.dll", "RegCloseKey"}, reinterpret_cast<void*>(hook_RegCloseKey), true},
};

}  // namespace

std::span<const hook_entry> registry_hooks() { return table; }

}  // namespace faults
