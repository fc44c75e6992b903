// What a click must do at the least, done directly: read the clip with the
// multimedia file calls into a GlobalAlloc'd block, then play it from a fresh
// buffer on the given DirectSound device, keeping up to seven earlier buffers
// and releasing those that have finished.
#pragma once
#include <windows.h>
#include <dsound.h>

#include <string>

class floor_click {
public:
    // Holds a reference to `device` of its own.
    floor_click(IDirectSound* device, std::string clip_path);
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
