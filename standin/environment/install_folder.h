// A fresh simulator install folder under %TEMP%, holding Sound\click.wav
// copied from a chosen file (or left without it). Removed with this object;
// the folders of earlier runs that ended without removing theirs (crashed,
// or killed from outside) go when the next one is made.
#pragma once
#include <filesystem>
#include <optional>
#include <string>

namespace standin {

class install_folder {
public:
    // click_source nullopt: Sound\click.wav is left out. Throws on failure.
    explicit install_folder(const std::optional<std::string>& click_source);
    ~install_folder();
    install_folder(const install_folder&) = delete;
    install_folder& operator=(const install_folder&) = delete;

    std::string path() const { return folder_.string(); }   // no trailing separator

    // Deletes the folder and all in it; later calls do nothing.
    void remove();

private:
    std::filesystem::path folder_;
};

}  // namespace standin
