// The calls the ledger counts and can fail: the module's imports, then the
// methods of the DirectSound objects it is handed.
#pragma once
#include <cstddef>

namespace faults {

enum class api : unsigned {
    GlobalAlloc,
    GlobalLock,
    GlobalUnlock,
    GlobalFree,
    lstrcpyA,
    lstrcatA,
    lstrlenA,
    FindWindowA,
    RegOpenKeyExA,
    RegQueryValueExA,
    RegCloseKey,
    mmioOpenA,
    mmioDescend,
    mmioRead,
    mmioAscend,
    mmioClose,
    mmioSeek,
    DirectSoundCreate,
    device_QueryInterface,
    device_AddRef,
    device_Release,
    device_CreateSoundBuffer,
    device_GetCaps,
    device_DuplicateSoundBuffer,
    device_SetCooperativeLevel,
    device_Compact,
    device_GetSpeakerConfig,
    device_SetSpeakerConfig,
    device_Initialize,
    buffer_QueryInterface,
    buffer_AddRef,
    buffer_Release,
    buffer_GetCaps,
    buffer_GetCurrentPosition,
    buffer_GetFormat,
    buffer_GetVolume,
    buffer_GetPan,
    buffer_GetFrequency,
    buffer_GetStatus,
    buffer_Initialize,
    buffer_Lock,
    buffer_Play,
    buffer_SetCurrentPosition,
    buffer_SetFormat,
    buffer_SetVolume,
    buffer_SetPan,
    buffer_SetFrequency,
    buffer_Stop,
    buffer_Unlock,
    buffer_Restore,
    buffer_SetFX,
    buffer_AcquireResources,
    buffer_GetObjectInPath,
};

constexpr std::size_t api_count = static_cast<std::size_t>(api::buffer_GetObjectInPath) + 1;

constexpr std::size_t index_of(api a) { return static_cast<std::size_t>(a); }

// "GlobalAlloc", "device.CreateSoundBuffer", "buffer.Play".
const char* api_name(api a);

// AddRef and Release have no failure to report; every other call can fail.
bool api_can_fail(api a);

// What a failed call reports when the test names no code: the return value
// for calls returning a status (LSTATUS, MMRESULT, HRESULT), the thread's
// last error for calls returning a handle, pointer or length.
long default_failure(api a);

}  // namespace faults
