// What a click must do at the least, done directly: read the clip with the
// multimedia file calls into a GlobalAlloc'd block, then play it from a fresh
// buffer on a DirectSound device of its own, keeping up to seven earlier
// buffers and releasing those that have finished.
#pragma once
#include <windows.h>
#include <dsound.h>

#include <string>

class floor_click {
public:
    // Throws std::runtime_error when the device can't be opened.
    floor_click(HWND window, std::string clip_path);
    ~floor_click();
    floor_click(const floor_click&) = delete;
    floor_click& operator=(const floor_click&) = delete;

    bool click();

private:
    static constexpr int kept_buffers = 8;
    bool read_clip(WAVEFORMATEX* format, HGLOBAL* block, DWORD* bytes);
    bool play(const WAVEFORMATEX& format, const void* samples, DWORD bytes);
    void make_room();

    std::string clip_path_;
    IDirectSound* device_ = nullptr;
    IDirectSoundBuffer* buffers_[kept_buffers] = {};
};
