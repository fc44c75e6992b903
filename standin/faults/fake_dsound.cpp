#include "standin/faults/fake_dsound.h"

#include "standin/faults/describe.h"
#include "standin/faults/fake_buffer.h"
#include "standin/faults/ledger.h"
#include "standin/faults/sound_buffer.h"
#include "standin/faults/sound_device.h"

namespace faults {

fake_dsound::fake_dsound(ledger& owner) : owner_(owner) {}

fake_dsound::~fake_dsound() {
    buffers_.clear();
    devices_.clear();
}

void fake_dsound::set_mode(sound_mode mode) {
    auto guard = owner_.lock();
    mode_ = mode;
}

sound_mode fake_dsound::mode() const {
    auto guard = owner_.lock();
    return mode_;
}

void fake_dsound::set_play_clock(play_clock clock) {
    auto guard = owner_.lock();
    clock_ = clock;
}

void fake_dsound::finish_all_playing() {
    auto guard = owner_.lock();
    for (auto& b : buffers_)
        if (b->fake()) b->fake()->finish();
}

bool fake_dsound::finish_playing(int buffer) {
    auto guard = owner_.lock();
    if (buffer < 1 || buffer > static_cast<int>(buffers_.size())) return false;
    fake_buffer* fake = buffers_[buffer - 1]->fake();
    if (fake) fake->finish();
    return fake != nullptr;
}

void fake_dsound::lose_all_buffers() {
    auto guard = owner_.lock();
    for (auto& b : buffers_)
        if (b->fake()) b->fake()->lose();
}

sound_log fake_dsound::log() const {
    auto guard = owner_.lock();
    return log_;
}

std::size_t fake_dsound::devices_alive() const {
    auto guard = owner_.lock();
    std::size_t n = 0;
    for (const auto& d : devices_) n += d->object().alive();
    return n;
}

std::size_t fake_dsound::buffers_alive() const {
    auto guard = owner_.lock();
    std::size_t n = 0;
    for (const auto& b : buffers_) n += b->object().alive();
    return n;
}

std::size_t fake_dsound::buffers_alive_of(const sound_device& device) const {
    std::size_t n = 0;
    for (const auto& b : buffers_) n += &b->device() == &device && b->object().alive();
    return n;
}

void fake_dsound::orphan_buffers_of(const sound_device& device) {
    for (auto& b : buffers_)
        if (&b->device() == &device && b->object().alive()) b->object().orphan();
}

sound_buffer* fake_dsound::ours(IDirectSoundBuffer* p) const {
    for (const auto& b : buffers_)
        if (b->as_buffer() == p) return b.get();
    return nullptr;
}

sound_buffer* fake_dsound::proxy_of(IDirectSoundBuffer* real) const {
    for (const auto& b : buffers_)
        if (b->real() == real && b->object().alive()) return b.get();
    return nullptr;
}

sound_buffer& fake_dsound::add_buffer(std::unique_ptr<sound_buffer> buffer) {
    buffers_.push_back(std::move(buffer));
    return *buffers_.back();
}

HRESULT fake_dsound::create(const GUID* device, LPDIRECTSOUND* out, LPUNKNOWN outer,
                            direct_sound_create_fn real) {
    auto guard = owner_.lock();
    verdict v = owner_.enter(api::DirectSoundCreate);
    log_.sequence.push_back("DirectSoundCreate(" + (device ? guid_text(*device) : "null") + "," +
                            pointer_text(outer) + ")");
    sound_create_call record;
    record.seq = v.seq;
    record.injected = v.fail;
    record.device_ptr = device;
    if (device) record.device = *device;
    record.outer = outer;
    record.out_given = out != nullptr;
    HRESULT hr = v.code;
    if (!v.fail || SUCCEEDED(v.code)) {
        IDirectSound* real_device = nullptr;
        if (mode_ == sound_mode::forward) {
            hr = real(device, out ? &real_device : nullptr, outer);
        } else {
            // What Wine's DirectSoundCreate refuses.
            bool default_device = !device || IsEqualGUID(*device, DSDEVID_DefaultPlayback) ||
                                  IsEqualGUID(*device, DSDEVID_DefaultVoicePlayback);
            hr = out && !outer && default_device ? DS_OK : DSERR_INVALIDPARAM;
        }
        if (SUCCEEDED(hr) && out) {
            int id = static_cast<int>(devices_.size()) + 1;
            devices_.push_back(std::make_unique<sound_device>(*this, id, real_device));
            *out = devices_.back().get();
            record.device_id = id;
        }
        if (v.fail && hr == DS_OK) hr = v.code;
    }
    record.result = hr;
    log_.creates.push_back(record);
    return hr;
}

}  // namespace faults
