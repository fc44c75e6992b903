#include "standin/environment/install_folder.h"

#include <windows.h>

#include <cstdio>
#include <stdexcept>
#include <string_view>

#include "standin/environment/run_identity.h"

namespace standin {

namespace {

constexpr std::string_view prefix = "standin-";

std::filesystem::path fresh_folder() {
    static unsigned made = 0;   // several hosts in turn within one process
    return std::filesystem::temp_directory_path() /
           (std::string(prefix) + this_run_name() + "-" + std::to_string(++made));
}

// The run that made a folder "standin-<run name>-<n>", or "" for any other name.
std::string maker(const std::string& folder_name) {
    const size_t last_dash = folder_name.rfind('-');
    if (folder_name.rfind(prefix, 0) != 0 || last_dash == std::string::npos || last_dash < prefix.size())
        return "";
    const std::string run = folder_name.substr(prefix.size(), last_dash - prefix.size());
    return is_run_name(run) ? run : "";
}

// Removes the folders of runs that ended without removing their own.
void remove_abandoned_folders() {
    std::error_code error;
    const std::filesystem::path temp = std::filesystem::temp_directory_path();
    for (const auto& entry : std::filesystem::directory_iterator(temp, error)) {
        const std::string run = maker(entry.path().filename().string());
        if (!run.empty() && !run_going(run)) std::filesystem::remove_all(entry.path(), error);
    }
}

}  // namespace

install_folder::install_folder(const std::optional<std::string>& click_source)
    : folder_(fresh_folder()) {
    remove_abandoned_folders();
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_ / "Sound");
    if (!click_source) return;
    std::error_code error;
    std::filesystem::copy_file(*click_source, folder_ / "Sound" / "click.wav", error);
    if (error) {
        remove();
        throw std::runtime_error("cannot copy the click sound from " + *click_source + ": " +
                                 error.message());
    }
}

install_folder::~install_folder() { remove(); }

void install_folder::remove() {
    std::error_code error;
    std::filesystem::remove_all(folder_, error);
    if (error)
        std::fprintf(stderr, "standin: cannot remove %s: %s\n", folder_.string().c_str(),
                     error.message().c_str());
}

}  // namespace standin
