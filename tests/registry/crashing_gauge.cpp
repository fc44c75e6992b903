// A gauge module that brings its host down: module_init prints the "path"
// value of the simulator key it finds, as a gauge reads it, then crashes the
// process.
#include <windows.h>

#include "host/module_records.h"

namespace {

void print(const char* text) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, lstrlenA(text), &written, nullptr);
}

void __stdcall read_path_then_crash() {
    char path[MAX_PATH] = "(none)";
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\7.0", 0,
                      KEY_READ, &key) == ERROR_SUCCESS) {
        DWORD size = sizeof path - 1;
        if (RegQueryValueExA(key, "path", nullptr, nullptr, reinterpret_cast<BYTE*>(path), &size) != ERROR_SUCCESS)
            lstrcpyA(path, "(no path value)");
        RegCloseKey(key);
    }
    print("crashing gauge: path ");
    print(path);
    print("\n");
    // An illegal instruction: under Wine run as root, page 0 can be mapped,
    // so a write through a null pointer need not fault.
    __builtin_trap();
}

}  // namespace

extern "C" {
__declspec(dllexport) linkage_record Linkage = {linkage_identifier, read_path_then_crash, nullptr, {}, {}};
__declspec(dllexport) import_table_record ImportTable = {service_table_identifier, nullptr, 0, nullptr};
}
