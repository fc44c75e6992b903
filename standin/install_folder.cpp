#include "install_folder.h"

#include <windows.h>

#include <cstdio>
#include <stdexcept>

namespace standin {

namespace {
std::filesystem::path fresh_folder() {
    static unsigned made = 0;   // several hosts in turn within one process
    return std::filesystem::temp_directory_path() /
           ("standin-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++made));
}
}  // namespace

install_folder::install_folder(const std::optional<std::string>& click_source)
    : folder_(fresh_folder()) {
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
