// The calls the ledger counts and can fail, in one list: the module's
// imports, then the methods of the DirectSound objects it is handed.
//
// An import's row gives its DLL, the ordinal it may be imported by instead
// of its name (0: none), whether install() requires the module to import it,
// and what a failed call reports when the test names no code: the return
// value for calls returning a status (LSTATUS, MMRESULT, HRESULT), the
// thread's last error for calls returning a handle, pointer or length.
// Codes mirror what the platform reports for the same failure.
#pragma once
#include <windows.h>
#include <dsound.h>
#include <mmsystem.h>

#include <cstddef>

#define FAULTS_IMPORTS(X)                                                  \
    X(GlobalAlloc, "kernel32.dll", 0, true, ERROR_NOT_ENOUGH_MEMORY)       \
    X(GlobalLock, "kernel32.dll", 0, true, ERROR_INVALID_HANDLE)           \
    X(GlobalUnlock, "kernel32.dll", 0, true, ERROR_NOT_LOCKED)             \
    X(GlobalFree, "kernel32.dll", 0, true, ERROR_INVALID_HANDLE)           \
    X(lstrcpyA, "kernel32.dll", 0, true, ERROR_NOACCESS)                   \
    X(lstrcatA, "kernel32.dll", 0, true, ERROR_NOACCESS)                   \
    X(lstrlenA, "kernel32.dll", 0, false, ERROR_NOACCESS)                  \
    X(FindWindowA, "user32.dll", 0, true, ERROR_CANNOT_FIND_WND_CLASS)     \
    X(RegOpenKeyExA, "advapi32.dll", 0, true, ERROR_FILE_NOT_FOUND)        \
    X(RegQueryValueExA, "advapi32.dll", 0, true, ERROR_FILE_NOT_FOUND)     \
    X(RegCloseKey, "advapi32.dll", 0, true, ERROR_INVALID_HANDLE)          \
    X(mmioOpenA, "winmm.dll", 0, true, MMIOERR_FILENOTFOUND)               \
    X(mmioDescend, "winmm.dll", 0, true, MMIOERR_CHUNKNOTFOUND)            \
    X(mmioRead, "winmm.dll", 0, true, 0)                                   \
    X(mmioAscend, "winmm.dll", 0, true, MMIOERR_CANNOTSEEK)                \
    X(mmioClose, "winmm.dll", 0, true, MMIOERR_CANNOTWRITE)                \
    X(mmioSeek, "winmm.dll", 0, false, 0)                                  \
    X(DirectSoundCreate, "dsound.dll", 1, true, DSERR_NODRIVER)

// The methods the module calls; any other is an unexpected call (see
// sound_recorder.h). Release has no failure to report.
#define FAULTS_METHODS(X)                                  \
    X(device, Release, 0)                                  \
    X(device, CreateSoundBuffer, DSERR_OUTOFMEMORY)        \
    X(device, SetCooperativeLevel, DSERR_INVALIDPARAM)     \
    X(buffer, Release, 0)                                  \
    X(buffer, GetStatus, DSERR_GENERIC)                    \
    X(buffer, Lock, DSERR_BUFFERLOST)                      \
    X(buffer, Play, DSERR_BUFFERLOST)                      \
    X(buffer, SetCurrentPosition, DSERR_BUFFERLOST)        \
    X(buffer, Stop, DSERR_GENERIC)                         \
    X(buffer, Unlock, DSERR_INVALIDPARAM)

namespace faults {

enum class api : unsigned {
#define FAULTS_IMPORT_ENTRY(name, ...) name,
    FAULTS_IMPORTS(FAULTS_IMPORT_ENTRY)
#undef FAULTS_IMPORT_ENTRY
#define FAULTS_METHOD_ENTRY(object, method, failure) object##_##method,
    FAULTS_METHODS(FAULTS_METHOD_ENTRY)
#undef FAULTS_METHOD_ENTRY
    count
};

constexpr std::size_t api_count = static_cast<std::size_t>(api::count);

constexpr std::size_t index_of(api a) { return static_cast<std::size_t>(a); }

struct api_facts {
    const char* name;  // "GlobalAlloc", "device.CreateSoundBuffer", "buffer.Play"
    long failure;      // what a failed call reports when the test names no code
};

inline constexpr api_facts facts_of_api[] = {
#define FAULTS_IMPORT_FACTS(name, dll, ordinal, required, failure) {#name, failure},
    FAULTS_IMPORTS(FAULTS_IMPORT_FACTS)
#undef FAULTS_IMPORT_FACTS
#define FAULTS_METHOD_FACTS(object, method, failure) {#object "." #method, failure},
    FAULTS_METHODS(FAULTS_METHOD_FACTS)
#undef FAULTS_METHOD_FACTS
};

constexpr const char* api_name(api a) { return facts_of_api[index_of(a)].name; }
constexpr long default_failure(api a) { return facts_of_api[index_of(a)].failure; }
// Release cannot fail; every other call can.
constexpr bool api_can_fail(api a) { return a != api::device_Release && a != api::buffer_Release; }

}  // namespace faults
