#include "standin/imports/import_patch.h"

#include <cstddef>
#include <cstring>
#include <utility>

namespace imports {
namespace {

// "DSOUND.DLL" and "dsound" name the same DLL.
bool same_dll(const char* a, const char* b) {
    auto stem = [](const char* s) {
        std::size_t n = std::strlen(s);
        if (n > 4 && _stricmp(s + n - 4, ".dll") == 0) n -= 4;
        return n;
    };
    std::size_t na = stem(a);
    return na == stem(b) && _strnicmp(a, b, na) == 0;
}

const IMAGE_NT_HEADERS32* nt_headers(HMODULE module) {
    auto base = reinterpret_cast<const BYTE*>(module);
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (!base || dos->e_magic != IMAGE_DOS_SIGNATURE) return nullptr;
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE ||
        nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR32_MAGIC)
        return nullptr;
    return nt;
}

bool thunk_matches(const BYTE* base, DWORD thunk, const import_ref& what) {
    if (IMAGE_SNAP_BY_ORDINAL32(thunk)) return what.ordinal && IMAGE_ORDINAL32(thunk) == what.ordinal;
    auto by_name = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + thunk);
    return what.name && std::strcmp(reinterpret_cast<const char*>(by_name->Name), what.name) == 0;
}

// Writes one slot, keeping the page's protection as it was.
bool write_slot(void** slot, void* value) {
    DWORD old = 0;
    if (!VirtualProtect(static_cast<void*>(slot), sizeof *slot, PAGE_READWRITE, &old)) return false;
    InterlockedExchangePointer(slot, value);
    DWORD ignored = 0;
    VirtualProtect(static_cast<void*>(slot), sizeof *slot, old, &ignored);
    FlushInstructionCache(GetCurrentProcess(), static_cast<const void*>(slot), sizeof *slot);
    return true;
}

bool module_still_loaded(HMODULE module, void** slot) {
    HMODULE owner = nullptr;
    return GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                  GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCSTR>(slot), &owner) &&
           owner == module;
}

// Every import address table slot of `module` that imports `what`. Empty when
// the module doesn't import it (or isn't a valid PE image).
std::vector<void**> find_import_slots(HMODULE module, const import_ref& what) {
    std::vector<void**> found;
    const IMAGE_NT_HEADERS32* nt = nt_headers(module);
    if (!nt) return found;
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress) return found;
    auto base = reinterpret_cast<BYTE*>(module);
    for (auto desc = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
         desc->Name; ++desc) {
        if (!same_dll(reinterpret_cast<const char*>(base + desc->Name), what.dll)) continue;
        // The loader overwrites FirstThunk with addresses; the names stay in
        // OriginalFirstThunk, which MinGW and MSVC always emit.
        if (!desc->OriginalFirstThunk) continue;
        auto names = reinterpret_cast<const DWORD*>(base + desc->OriginalFirstThunk);
        auto slots = reinterpret_cast<void**>(base + desc->FirstThunk);
        for (std::size_t i = 0; names[i]; ++i)
            if (thunk_matches(base, names[i], what)) found.push_back(&slots[i]);
    }
    return found;
}

}  // namespace

bool import_patch::apply(HMODULE module, const import_ref& what, void* replacement, std::string* error) {
    restore();
    auto fail = [&](std::string why) {
        restore();
        if (error) *error = std::move(why);
        return false;
    };
    std::string label = std::string(what.dll) + '!' + (what.name ? what.name : "#");
    if (!what.name) label += std::to_string(what.ordinal);
    std::vector<void**> found = find_import_slots(module, what);
    if (found.empty()) return fail("module does not import " + label);
    module_ = module;
    replacement_ = replacement;
    for (void** slot : found) {
        void* original = *slot;
        if (!write_slot(slot, replacement))
            return fail("cannot write the import slot of " + label + " (error " + std::to_string(GetLastError()) + ")");
        slots_.push_back({slot, original});
    }
    return true;
}

void import_patch::restore() {
    for (const patched_slot& s : slots_)
        if (module_still_loaded(module_, s.slot) && *s.slot == replacement_)
            write_slot(s.slot, s.original);
    slots_.clear();
}

}  // namespace imports
