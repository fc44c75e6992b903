#include "sound/sound_device.h"

#include "sound/earlier_buffers.h"
#include "sound/scoped_resources.h"
#include "sound/sound_folder.h"
#include "sound/sound_state.h"

namespace {

constexpr char host_main_window[] = "FS98MAIN";

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
