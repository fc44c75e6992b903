#include "standin/host/host_options.h"

#include <filesystem>
#include <stdexcept>

namespace standin {

std::string default_click_source() {
    std::string program(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, program.data(), static_cast<DWORD>(program.size()));
        if (length == 0)
            throw std::runtime_error("cannot find this program's file (error " +
                                     std::to_string(GetLastError()) + ")");
        if (length < program.size()) {
            program.resize(length);
            break;
        }
        program.resize(program.size() * 2);
    }
    return (std::filesystem::path(program).parent_path() / "click.wav").string();
}

}  // namespace standin
