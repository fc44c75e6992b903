#include "standin/host/module_file.h"

#include <stdexcept>

namespace standin {

namespace {

std::string system_message(DWORD error) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length ? std::string(text, length) : "error " + std::to_string(error);
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    return message;
}

}  // namespace

HMODULE load_module_file(const std::string& path) {
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module) {
        const DWORD error = GetLastError();
        // The system's words for this one are "Bad EXE format for %1.", which says what it is not only by its number.
        std::string why = error == ERROR_BAD_EXE_FORMAT ? "it is not a 32-bit Windows DLL" : system_message(error);
        // The system's messages name the file as "%1", left unfilled.
        for (std::size_t at; (at = why.find("%1")) != std::string::npos;) why.replace(at, 2, path);
        throw std::runtime_error("cannot load " + path + ": " + why + " (error " + std::to_string(error) + ")");
    }
    return module;
}

}  // namespace standin
