#include "standin/pictures/bitmap_resources.h"

namespace standin {

std::optional<std::vector<uint8_t>> read_bitmap_resource(HMODULE module, uint32_t id,
                                                         std::string& error) {
    const std::string name = "bitmap " + std::to_string(id);
    if (id == 0 || id > 0xFFFF) {
        error = name + " is not a resource number";
        return std::nullopt;
    }
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), RT_BITMAP);
    if (!found) {
        error = name + " not found (error " + std::to_string(GetLastError()) + ")";
        return std::nullopt;
    }
    const DWORD size = SizeofResource(module, found);
    HGLOBAL loaded = LoadResource(module, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes || size == 0) {
        error = name + " could not be loaded (error " + std::to_string(GetLastError()) + ")";
        return std::nullopt;
    }
    const auto* first = static_cast<const uint8_t*>(bytes);
    return std::vector<uint8_t>(first, first + size);
}

}  // namespace standin
