// What the ledger writes down about the module's use of DirectSound. Devices
// and buffers are numbered from 1 in creation order ("device#1", "buffer#2").
#pragma once
#include <windows.h>
#include <dsound.h>

#include <cstdint>
#include <string>
#include <vector>

#include "standin/ledger/records.h"

namespace faults {

struct sound_create_call : call_mark {
    const GUID* device_ptr = nullptr;  // expected null: the default device
    IUnknown* outer = nullptr;
    HRESULT result = 0;
    int device_id = 0;                 // 0 when no device was handed out
};

struct cooperative_call : call_mark {
    int device = 0;
    HWND window = nullptr;
    DWORD level = 0;
    HRESULT result = 0;
};

// CreateSoundBuffer's description, copied field by field.
struct buffer_request : call_mark {
    int device = 0;
    DWORD size = 0;       // dwSize; 0 when no description was given
    DWORD flags = 0;
    DWORD bytes = 0;      // dwBufferBytes
    DWORD reserved = 0;
    WAVEFORMATEX format{};             // sizeof(WAVEFORMATEX) bytes copied from lpwfxFormat
    GUID algorithm{};                  // guid3DAlgorithm, when dwSize covers it
    IUnknown* outer = nullptr;
    HRESULT result = 0;
    int buffer = 0;                    // 0 when no buffer was handed out
};

struct lock_call : call_mark {
    int buffer = 0;
    DWORD offset = 0;
    DWORD bytes = 0;
    DWORD flags = 0;
    HRESULT result = 0;
    void* ptr1 = nullptr;  // the regions handed back
    DWORD len1 = 0;
    void* ptr2 = nullptr;
    DWORD len2 = 0;
};

struct unlock_call : call_mark {
    int buffer = 0;
    void* ptr1 = nullptr;  // as passed by the module
    DWORD len1 = 0;
    void* ptr2 = nullptr;
    DWORD len2 = 0;
    HRESULT result = 0;
};

struct play_call : call_mark {
    int buffer = 0;
    DWORD reserved = 0;
    DWORD priority = 0;
    DWORD flags = 0;
    HRESULT result = 0;
    std::vector<std::uint8_t> contents;  // the whole buffer as it was when Play was called
};

struct position_call : call_mark {
    int buffer = 0;
    DWORD position = 0;
    HRESULT result = 0;
};

// A reference the module gave back: a Release.
struct ref_call : call_mark {
    std::string object;  // "device#1", "buffer#2"
    ULONG count = 0;     // the count afterwards
};

struct sound_log {
    // Every DirectSound call in order, e.g. "DirectSoundCreate(null,null)",
    // "device#1.SetCooperativeLevel(0x10020,2)", "buffer#2.Play(0,0,0)".
    std::vector<std::string> sequence;
    std::vector<sound_create_call> creates;
    std::vector<cooperative_call> cooperative_levels;
    std::vector<buffer_request> buffer_requests;
    std::vector<lock_call> locks;
    std::vector<unlock_call> unlocks;
    std::vector<play_call> plays;
    std::vector<position_call> positions;  // SetCurrentPosition
    std::vector<ref_call> refs;
};

}  // namespace faults
