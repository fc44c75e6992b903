#include "sound/sound_folder.h"

#include "sound/path_text.h"
#include "sound/scoped_resources.h"
#include "sound/sound_state.h"

namespace {

constexpr char host_key[] = "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\7.0";
constexpr char sound_subfolder[] = "\\Sound\\";

}  // namespace

char* read_sound_folder() {
    registry_key key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, host_key, 0, KEY_READ, key.receive()) != ERROR_SUCCESS)
        return nullptr;
    // An installed host has a player name; only its presence matters.
    DWORD player_name_size = 0;
    if (RegQueryValueExA(key.get(), "PlayerName", nullptr, nullptr, nullptr, &player_name_size) !=
        ERROR_SUCCESS)
        return nullptr;

    path_block folder(path_block_size);
    if (!folder.get()) return nullptr;
    DWORD size = path_block_size;
    if (RegQueryValueExA(key.get(), "path", nullptr, nullptr, reinterpret_cast<BYTE*>(folder.get()),
                         &size) != ERROR_SUCCESS)
        return nullptr;
    // The value's bytes are taken as the folder's text, whatever its type. A
    // value that fills the block without a terminator, or leaves no room for
    // the subfolder, is no usable folder.
    const uint32_t length = bounded_length(folder.get(), path_block_size);
    if (length + sizeof sound_subfolder > path_block_size) return nullptr;
    lstrcatA(folder.get(), sound_subfolder);
    return folder.release();
}
