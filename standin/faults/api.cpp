#include "standin/faults/api.h"

#include <windows.h>
#include <dsound.h>
#include <mmsystem.h>

namespace faults {
namespace {

struct api_facts {
    const char* name;
    long failure;
};

// Codes mirror what the platform reports for the same failure.
constexpr api_facts facts[] = {
    {"GlobalAlloc", ERROR_NOT_ENOUGH_MEMORY},
    {"GlobalLock", ERROR_INVALID_HANDLE},
    {"GlobalUnlock", ERROR_NOT_LOCKED},
    {"GlobalFree", ERROR_INVALID_HANDLE},
    {"lstrcpyA", ERROR_NOACCESS},
    {"lstrcatA", ERROR_NOACCESS},
    {"lstrlenA", ERROR_NOACCESS},
    {"FindWindowA", ERROR_CANNOT_FIND_WND_CLASS},
    {"RegOpenKeyExA", ERROR_FILE_NOT_FOUND},
    {"RegQueryValueExA", ERROR_FILE_NOT_FOUND},
    {"RegCloseKey", ERROR_INVALID_HANDLE},
    {"mmioOpenA", MMIOERR_FILENOTFOUND},
    {"mmioDescend", MMIOERR_CHUNKNOTFOUND},
    {"mmioRead", 0},
    {"mmioAscend", MMIOERR_CANNOTSEEK},
    {"mmioClose", MMIOERR_CANNOTWRITE},
    {"mmioSeek", 0},
    {"DirectSoundCreate", DSERR_NODRIVER},
    {"device.QueryInterface", E_NOINTERFACE},
    {"device.AddRef", 0},
    {"device.Release", 0},
    {"device.CreateSoundBuffer", DSERR_OUTOFMEMORY},
    {"device.GetCaps", DSERR_GENERIC},
    {"device.DuplicateSoundBuffer", DSERR_OUTOFMEMORY},
    {"device.SetCooperativeLevel", DSERR_INVALIDPARAM},
    {"device.Compact", DSERR_PRIOLEVELNEEDED},
    {"device.GetSpeakerConfig", DSERR_GENERIC},
    {"device.SetSpeakerConfig", DSERR_GENERIC},
    {"device.Initialize", DSERR_NODRIVER},
    {"buffer.QueryInterface", E_NOINTERFACE},
    {"buffer.AddRef", 0},
    {"buffer.Release", 0},
    {"buffer.GetCaps", DSERR_GENERIC},
    {"buffer.GetCurrentPosition", DSERR_BUFFERLOST},
    {"buffer.GetFormat", DSERR_GENERIC},
    {"buffer.GetVolume", DSERR_CONTROLUNAVAIL},
    {"buffer.GetPan", DSERR_CONTROLUNAVAIL},
    {"buffer.GetFrequency", DSERR_CONTROLUNAVAIL},
    {"buffer.GetStatus", DSERR_GENERIC},
    {"buffer.Initialize", DSERR_ALREADYINITIALIZED},
    {"buffer.Lock", DSERR_BUFFERLOST},
    {"buffer.Play", DSERR_BUFFERLOST},
    {"buffer.SetCurrentPosition", DSERR_BUFFERLOST},
    {"buffer.SetFormat", DSERR_INVALIDCALL},
    {"buffer.SetVolume", DSERR_CONTROLUNAVAIL},
    {"buffer.SetPan", DSERR_CONTROLUNAVAIL},
    {"buffer.SetFrequency", DSERR_CONTROLUNAVAIL},
    {"buffer.Stop", DSERR_GENERIC},
    {"buffer.Unlock", DSERR_INVALIDPARAM},
    {"buffer.Restore", DSERR_BUFFERLOST},
    {"buffer.SetFX", DSERR_CONTROLUNAVAIL},
    {"buffer.AcquireResources", DSERR_INVALIDCALL},
    {"buffer.GetObjectInPath", DSERR_CONTROLUNAVAIL},
};
static_assert(sizeof facts / sizeof facts[0] == api_count, "one entry per api");

}  // namespace

const char* api_name(api a) { return facts[index_of(a)].name; }

bool api_can_fail(api a) {
    return a != api::device_AddRef && a != api::device_Release && a != api::buffer_AddRef &&
           a != api::buffer_Release;
}

long default_failure(api a) { return facts[index_of(a)].failure; }

}  // namespace faults
