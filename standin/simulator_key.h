// The simulator's registry key (path below), set up with chosen values or
// left absent for the life of this object. A key that was there before is
// put back afterwards.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

    // nullopt: the key is made absent. Throws std::runtime_error on failure.
    explicit simulator_key(const std::optional<registry_values>& contents);
    ~simulator_key();
    simulator_key(const simulator_key&) = delete;
    simulator_key& operator=(const simulator_key&) = delete;

    // Puts the registry back as it was; later calls do nothing. Throws on failure.
    void restore();

private:

    std::optional<registry_values> earlier_;   // the key's values before we came
    std::vector<std::string> created_;         // keys this object created, outermost first
};

}  // namespace standin
