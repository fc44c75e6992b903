#include "standin/environment/simulator_key.h"

#include <windows.h>

#include "standin/environment/registry_status.h"

namespace standin {

registry_value registry_text(std::string_view text, bool terminated) {
    registry_value value{REG_SZ, {text.begin(), text.end()}};
    if (terminated) value.bytes.push_back(0);
    return value;
}

simulator_key::simulator_key(const std::optional<registry_values>& contents) {
    if (!contents) return;
    // Volatile, as the private key it is made in must be.
    HKEY key;
    check(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, REG_OPTION_VOLATILE, KEY_WRITE,
                          nullptr, &key, nullptr),
          "cannot create the simulator key in the private registry key");
    LONG status = ERROR_SUCCESS;
    std::string failed;
    for (const auto& [name, value] : *contents) {
        status = RegSetValueExA(key, name.c_str(), 0, value.type, value.bytes.data(),
                                static_cast<DWORD>(value.bytes.size()));
        if (status != ERROR_SUCCESS) {
            failed = name;
            break;
        }
    }
    RegCloseKey(key);
    check(status, "cannot set registry value " + failed);
}

}  // namespace standin
