// RegOpenKeyExA, RegQueryValueExA, RegCloseKey: counted, failable, and every
// key the module opens is tracked until it closes it.
#include <set>

#include "standin/ledger/hooked_call.h"
#include "standin/ledger/hooks.h"
#include "standin/log/value_text.h"

namespace faults {

LSTATUS WINAPI hook_RegOpenKeyExA(HKEY root, LPCSTR subkey, DWORD options, REGSAM access, PHKEY result) {
    hooked_call call(api::RegOpenKeyExA);
    reg_open_call record{call.mark(), root, read_string(subkey), options, access};
    record.result =
        call.failing() ? call.code() : call.real<decltype(RegOpenKeyExA)>(root, subkey, options, access, result);
    if (record.result == ERROR_SUCCESS && result) call.state().registry.open_keys.insert(*result);
    call.state().registry.opens.push_back(record);
    return record.result;
}

LSTATUS WINAPI hook_RegQueryValueExA(HKEY key, LPCSTR value, LPDWORD reserved, LPDWORD type, LPBYTE data,
                                     LPDWORD size) {
    hooked_call call(api::RegQueryValueExA);
    reg_query_call record{call.mark(), key, read_string(value), data != nullptr};
    if (size) record.size_in = *size;
    record.result = call.failing() ? call.code()
                                   : call.real<decltype(RegQueryValueExA)>(key, value, reserved, type, data, size);
    call.state().registry.queries.push_back(record);
    return record.result;
}

LSTATUS WINAPI hook_RegCloseKey(HKEY key) {
    hooked_call call(api::RegCloseKey);
    if (call.failing()) return call.code();
    const LSTATUS status = call.real<decltype(RegCloseKey)>(key);
    std::set<HKEY>& open = call.state().registry.open_keys;
    if (!open.count(key))
        call.owner().problem("RegCloseKey(" + standin::pointer_text(key) + "): not a key the module opened");
    else if (status == ERROR_SUCCESS)
        open.erase(key);
    return status;
}

}  // namespace faults
