#include "simulator_key.h"

#include <windows.h>

#include <cstdio>
#include <stdexcept>

namespace standin {

namespace {

void check(LONG status, const std::string& what) {
    if (status != ERROR_SUCCESS)
        throw std::runtime_error(what + " (error " + std::to_string(status) + ")");
}

class open_key {
public:
    explicit open_key(HKEY key) : key_(key) {}
    ~open_key() { RegCloseKey(key_); }
    open_key(const open_key&) = delete;
    open_key& operator=(const open_key&) = delete;
    HKEY get() const { return key_; }

private:
    HKEY key_;
};

void write_values(HKEY key, const registry_values& values) {
    for (const auto& [name, value] : values)
        check(RegSetValueExA(key, name.c_str(), 0, value.type, value.bytes.data(),
                             static_cast<DWORD>(value.bytes.size())),
              "cannot set registry value " + name);
}

// The key's values, or nullopt when there is no such key.
std::optional<registry_values> read_existing() {
    HKEY raw;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, simulator_key::path, 0, KEY_READ, &raw) != ERROR_SUCCESS)
        return std::nullopt;
    open_key key(raw);
    DWORD subkeys = 0, count = 0, longest_name = 0, longest_data = 0;
    check(RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &count,
                           &longest_name, &longest_data, nullptr, nullptr),
          "cannot read the simulator key");
    if (subkeys != 0)
        throw std::runtime_error("the simulator key has subkeys; not touching it");
    registry_values values;
    for (DWORD i = 0; i < count; ++i) {
        std::string name(longest_name + 1, '\0');
        std::vector<uint8_t> data(longest_data);
        DWORD name_size = static_cast<DWORD>(name.size()), data_size = longest_data, type = 0;
        check(RegEnumValueA(key.get(), i, name.data(), &name_size, nullptr, &type, data.data(),
                            &data_size),
              "cannot read the simulator key's values");
        name.resize(name_size);
        data.resize(data_size);
        values.push_back({name, {type, data}});
    }
    return values;
}

}  // namespace

registry_value registry_text(std::string_view text, bool terminated) {
    registry_value value{REG_SZ, {text.begin(), text.end()}};
    if (terminated) value.bytes.push_back(0);
    return value;
}

simulator_key::simulator_key(const std::optional<registry_values>& contents) {
    earlier_ = read_existing();
    if (earlier_)
        check(RegDeleteKeyA(HKEY_LOCAL_MACHINE, path), "cannot clear the simulator key");
    if (!contents) return;
    try {
        const std::string full = path;
        for (size_t end = full.find('\\'); ; end = full.find('\\', end + 1)) {
            const std::string level = full.substr(0, end);
            HKEY raw;
            DWORD disposition = 0;
            check(RegCreateKeyExA(HKEY_LOCAL_MACHINE, level.c_str(), 0, nullptr, 0, KEY_WRITE,
                                  nullptr, &raw, &disposition),
                  "cannot create registry key " + level);
            open_key key(raw);
            if (disposition == REG_CREATED_NEW_KEY) created_.push_back(level);
            if (end == std::string::npos) {
                write_values(key.get(), *contents);
                break;
            }
        }
    } catch (...) {
        restore();
        throw;
    }
}

simulator_key::~simulator_key() {
    try {
        restore();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "standin: %s\n", e.what());
    }
}

void simulator_key::restore() {
    for (auto level = created_.rbegin(); level != created_.rend(); ++level)
        check(RegDeleteKeyA(HKEY_LOCAL_MACHINE, level->c_str()), "cannot delete registry key " + *level);
    created_.clear();
    if (!earlier_) return;
    HKEY raw;
    check(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_WRITE, nullptr, &raw, nullptr),
          "cannot put back the simulator key");
    open_key key(raw);
    write_values(key.get(), *earlier_);
    earlier_.reset();
}

}  // namespace standin
