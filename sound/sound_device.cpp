#include "sound/sound_device.h"

#include "sound/earlier_buffers.h"
#include "sound/path_text.h"
#include "sound/scoped_resources.h"
#include "sound/sound_state.h"

namespace {

constexpr char host_main_window[] = "FS98MAIN";
constexpr char host_key[] = "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\7.0";
constexpr char sound_subfolder[] = "\\Sound\\";

// The host's install folder from its registry key, with the Sound subfolder
// appended, in a fresh path block; null when the key does not give one.
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

}  // namespace

int sound_setup() {
    // A second initialize without a kill between must not strand the first device.
    sound_teardown();

    HWND window = FindWindowA(host_main_window, nullptr);
    if (!window) return silence_clicks();
    // A device handed out with a non-zero result stays held until teardown.
    if (DirectSoundCreate(nullptr, &sound_state.sound_device, nullptr) != DS_OK) return silence_clicks();
    // A device refused from here on stays held until teardown releases it.
    if (sound_state.sound_device->SetCooperativeLevel(window, DSSCL_NORMAL) != DS_OK)
        return silence_clicks();
    sound_state.sound_folder = read_sound_folder();
    if (!sound_state.sound_folder) return silence_clicks();
    return 1;
}

void sound_teardown() {
    if (sound_state.sound_folder) GlobalFree(sound_state.sound_folder);
    sound_state.sound_folder = nullptr;
    // Buffers go back before the device that made them.
    release(sound_state.clip_buffer);
    release_earlier_buffers();
    release(sound_state.sound_device);
}
