// The simulator's registry key as the module looks it up (path below, under
// HKEY_LOCAL_MACHINE), set up with chosen values or left absent for the life
// of this object. HKEY_LOCAL_MACHINE is redirected to a private key for the
// while (see machine_key_redirect.h): the machine's own simulator key, if it
// has one, is never read, written or deleted.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "standin/environment/machine_key_redirect.h"

namespace standin {

struct registry_value {
    uint32_t type;                   // REG_SZ, REG_BINARY, ...
    std::vector<uint8_t> bytes;      // stored exactly, terminator or not
};

// A REG_SZ value of text, with or without its terminating zero byte.
registry_value registry_text(std::string_view text, bool terminated = true);

using registry_values = std::vector<std::pair<std::string, registry_value>>;

class simulator_key {
public:
    static constexpr const char* path = "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\7.0";

    // nullopt: the key is absent. Throws std::runtime_error on failure.
    explicit simulator_key(const std::optional<registry_values>& contents);

    // Ends the redirection and deletes the private key; later calls do
    // nothing. Throws std::runtime_error on failure.
    void remove() { redirect_.end(); }

private:
    machine_key_redirect redirect_;
};

}  // namespace standin
