// A gauge module with one memory fault of each kind the page heap is to
// find, made at initialize: the test names the fault in `probe_fault` after
// loading it. Every case frees and releases all it takes, so the fault is
// the only thing wrong with it; "clean" does the same work with no fault.
#include <windows.h>
#include <dsound.h>
#include <mmsystem.h>

#include <cstring>

#include "host/module_records.h"

extern "C" {
__declspec(dllexport) char probe_fault[32] = "clean";
}

namespace {

constexpr SIZE_T block_bytes = 24;
constexpr DWORD buffer_bytes = 1000;

bool is(const char* name) { return std::strcmp(probe_fault, name) == 0; }

// The address with what the compiler knows of its block forgotten: it would
// otherwise turn an access outside the block into a trap of its own.
volatile char* unknown(void* p) {
    asm volatile("" : "+r"(p));
    return static_cast<volatile char*>(p);
}

void block_faults() {
    volatile char* block = unknown(GlobalAlloc(GPTR, block_bytes));
    if (!block) return;
    for (SIZE_T i = 0; i < block_bytes; ++i) block[i] = static_cast<char>(block[i] + 1);
    if (is("read_past_block")) (void)unknown(const_cast<char*>(block))[block_bytes];
    if (is("write_before_block")) unknown(const_cast<char*>(block))[-1] = 1;
    GlobalFree(const_cast<char*>(block));
    if (is("read_after_free")) (void)unknown(const_cast<char*>(block))[0];

    HGLOBAL moveable = GlobalAlloc(GMEM_MOVEABLE, block_bytes);
    if (!moveable) return;
    if (auto* bytes = static_cast<char*>(GlobalLock(moveable))) {
        std::memset(bytes, 1, block_bytes);
        GlobalUnlock(moveable);
    }
    GlobalFree(moveable);
}

void buffer_faults() {
    IDirectSound* device = nullptr;
    if (FAILED(DirectSoundCreate(nullptr, &device, nullptr))) return;
    WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 22050, 22050, 1, 8, 0};
    DSBUFFERDESC desc{sizeof desc, 0, buffer_bytes, 0, &format, {}};
    IDirectSoundBuffer* buffer = nullptr;
    if (SUCCEEDED(device->CreateSoundBuffer(&desc, &buffer, nullptr))) {
        void* region = nullptr;
        DWORD length = 0;
        if (SUCCEEDED(buffer->Lock(0, 0, &region, &length, nullptr, nullptr, DSBLOCK_ENTIREBUFFER))) {
            volatile char* bytes = unknown(region);
            for (DWORD i = 0; i < length; ++i) bytes[i] = 0;
            if (is("write_past_lock")) unknown(region)[length] = 0;
            buffer->Unlock(region, length, nullptr, 0);
        }
        buffer->Release();
    }
    device->Release();
}

void __stdcall run_probe() {
    block_faults();
    buffer_faults();
}

void __stdcall nothing() {}
void __stdcall nothing_with(uint32_t) {}

// The imports the fault ledger requires of a module it watches, which the
// probe's work leaves out.
[[gnu::used]] const void* const ledger_requires[] = {
    reinterpret_cast<const void*>(&lstrcpyA),         reinterpret_cast<const void*>(&lstrcatA),
    reinterpret_cast<const void*>(&FindWindowA),      reinterpret_cast<const void*>(&RegOpenKeyExA),
    reinterpret_cast<const void*>(&RegQueryValueExA), reinterpret_cast<const void*>(&RegCloseKey),
    reinterpret_cast<const void*>(&mmioOpenA),        reinterpret_cast<const void*>(&mmioDescend),
    reinterpret_cast<const void*>(&mmioRead),         reinterpret_cast<const void*>(&mmioAscend),
    reinterpret_cast<const void*>(&mmioClose),
};

element_header* no_elements[] = {nullptr};

gauge_header_record probe_gauge = {gauge_header_version, "page heap probe", no_elements, nothing, nothing_with,
                                   run_probe, nothing, nothing_with, nothing, nothing, 0, 0, {}};

}  // namespace

extern "C" {
__declspec(dllexport) linkage_record Linkage = {linkage_identifier, nothing, nothing, {}, {&probe_gauge, nullptr}};
__declspec(dllexport) import_table_record ImportTable = {service_table_identifier, nullptr, 0, nullptr};
}
