// Loading a gauge module file, with the system's own words when it fails.
#pragma once
#include <windows.h>

#include <string>

namespace standin {

// LoadLibrary of `path`; throws std::runtime_error with the system's message
// (for example "Module not found."), the file named where it has "%1", when
// it fails; a file that is no 32-bit DLL is said to be none.
HMODULE load_module_file(const std::string& path);

}  // namespace standin
