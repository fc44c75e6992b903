#include "standin/ledger/sound_recorder.h"

#include <cstddef>

#include "standin/fake_sound/fake_device.h"
#include "standin/ledger/recorded_objects.h"
#include "standin/log/value_text.h"

namespace faults {

sound_recorder::sound_recorder(call_gate& gate) : gate_(gate) {}

sound_recorder::~sound_recorder() = default;

void sound_recorder::set_mode(sound_mode mode) {
    auto guard = gate_.lock();
    mode_ = mode;
}

bool sound_recorder::finish_playing(int buffer) {
    auto guard = gate_.lock();
    if (buffer < 1 || buffer > static_cast<int>(buffers_.size())) return false;
    return buffers_[buffer - 1]->finish_playing();
}

sound_log sound_recorder::log() const {
    auto guard = gate_.lock();
    return log_;
}

std::size_t sound_recorder::devices_alive() const {
    auto guard = gate_.lock();
    std::size_t n = 0;
    for (const auto& d : devices_) n += d->alive();
    return n;
}

std::size_t sound_recorder::buffers_alive() const {
    auto guard = gate_.lock();
    std::size_t n = 0;
    for (const auto& b : buffers_) n += b->alive();
    return n;
}

recorded_buffer& sound_recorder::add_buffer(recorded_device& device, IDirectSoundBuffer* inner) {
    const int id = static_cast<int>(buffers_.size()) + 1;
    buffers_.push_back(std::make_unique<recorded_buffer>(keeper(), id, device, inner));
    return *buffers_.back();
}

HRESULT sound_recorder::create(const verdict& v, const GUID* device, LPDIRECTSOUND* out, LPUNKNOWN outer,
                               direct_sound_create_fn real) {
    log_.sequence.push_back("DirectSoundCreate(" + standin::pointer_text(device) + "," + standin::pointer_text(outer) + ")");
    sound_create_call record{{v.seq, v.fail}, device, outer};
    HRESULT hr = v.code;
    // An injected success code goes through to a device and is reported in place of DS_OK.
    if (!v.fail || SUCCEEDED(v.code)) {
        IDirectSound* inner = nullptr;
        LPDIRECTSOUND* inner_out = out ? &inner : nullptr;
        hr = mode_ == sound_mode::forward ? real(device, inner_out, outer)
                                          : fake_sound::fake_direct_sound_create(gate_.page_heap(), device, inner_out, outer);
        if (SUCCEEDED(hr) && out) {
            record.device_id = static_cast<int>(devices_.size()) + 1;
            devices_.push_back(std::make_unique<recorded_device>(keeper(), record.device_id, inner));
            *out = devices_.back().get();
        }
        if (v.fail && hr == DS_OK) hr = v.code;
    }
    record.result = hr;
    log_.creates.push_back(record);
    return hr;
}

}  // namespace faults
