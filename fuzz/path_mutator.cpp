#include "fuzz/path_mutator.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

namespace fuzz {
namespace {

constexpr std::size_t path_block = 260;  // the module reads the value into this many bytes

std::size_t below(std::size_t n, random_source& random) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
}

// `folder` grown to `length` characters with "\." steps, which name the same
// folder; an odd remainder becomes a trailing backslash.
std::string padded(std::string folder, std::size_t length) {
    while (folder.size() + 2 <= length) folder += "\\.";
    if (folder.size() < length) folder += "\\";
    return folder;
}

}  // namespace

path_variant mutate_path(const std::string& folder, random_source& random) {
    static const std::vector<std::size_t> lengths = {243, 244, 251, 252, 253, 259, 260, 261, 300, 600};
    std::string text = folder;
    std::string note;
    switch (below(7, random)) {
    case 0: note = "folder"; break;
    case 1: text += "\\"; note = "folder\\"; break;
    case 2: {
        const std::size_t count = 2 + below(4, random);
        text += std::string(count, '\\');
        note = "folder + " + std::to_string(count) + " backslashes";
        break;
    }
    case 3: {
        const std::size_t length = lengths[below(lengths.size(), random)];
        text = padded(folder, length);
        note = "folder padded to " + std::to_string(text.size());
        break;
    }
    case 4: text = "%TEMP%\\nowhere"; note = "unexpanded variable"; break;
    case 5: text = padded(folder, path_block); note = "folder filling the block"; break;
    default: text.clear(); note = "empty"; break;
    }

    path_variant variant{"", {REG_SZ, {text.begin(), text.end()}}};
    // A value that fills the block has no room for its terminator.
    const bool terminated = text.size() < path_block && below(3, random) != 0;
    if (terminated) variant.value.bytes.push_back(0);
    switch (below(5, random)) {
    case 0: variant.value.type = REG_SZ; note += " REG_SZ"; break;
    case 1: variant.value.type = REG_EXPAND_SZ; note += " REG_EXPAND_SZ"; break;
    case 2: variant.value.type = REG_BINARY; note += " REG_BINARY"; break;
    case 3: {
        variant.value.type = REG_DWORD;
        const std::uint32_t word = std::uint32_t(random());
        variant.value.bytes.assign(reinterpret_cast<const std::uint8_t*>(&word),
                                   reinterpret_cast<const std::uint8_t*>(&word) + 4);
        note = "REG_DWORD " + std::to_string(word);
        break;
    }
    default: {
        variant.value.type = REG_BINARY;
        variant.value.bytes.resize(below(300, random));
        for (auto& b : variant.value.bytes) b = std::uint8_t(random());
        note = "REG_BINARY of " + std::to_string(variant.value.bytes.size()) + " random bytes";
        break;
    }
    }
    if (!terminated && variant.value.type != REG_DWORD) note += " unterminated";
    switch (below(8, random)) {
    case 0: variant.key = false; note += ", no key"; break;
    case 1: variant.player_name = false; note += ", no PlayerName"; break;
    default: break;
    }
    variant.description = "path " + note;
    return variant;
}

std::optional<std::string> clip_path_for(const path_variant& variant) {
    // Without the key or its player name the module reads no folder.
    if (!variant.key || !variant.player_name) return std::nullopt;
    const standin::registry_value& value = variant.value;
    // A value larger than the block is refused by the registry read.
    if (value.bytes.size() > path_block) return std::nullopt;
    const auto end = std::find(value.bytes.begin(), value.bytes.end(), 0);
    const std::string folder(value.bytes.begin(), end);
    const std::string sound = folder + "\\Sound\\";
    // Room for the folder and its terminator, then for the file name and its.
    if (sound.size() + 1 > path_block) return std::nullopt;
    const std::string clip = sound + "click.wav";
    if (clip.size() + 1 > path_block) return std::nullopt;
    const DWORD attributes = GetFileAttributesA(clip.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
    return clip;
}

}  // namespace fuzz
