// The DirectSound the module is handed when it calls DirectSoundCreate: a
// recording layer over a device, the fake one (the default) or, in forward
// mode, Wine's real one.
//
// The fake device answers the calls the module makes (see fake_device.h).
// Either way every such call is counted, logged and can be failed through the
// ledger's call gate; a call of any other method is an unexpected call, logged and
// reported as a problem, and answered without reaching the device.
//
// The recorded objects are kept until the ledger is destroyed, even after
// their last Release, so a module using one after releasing it is reported as
// a problem instead of crashing.
#pragma once
#include <windows.h>
#include <dsound.h>

#include <cstddef>
#include <memory>
#include <vector>

#include "standin/ledger/call_gate.h"
#include "standin/ledger/recorded_objects.h"
#include "standin/ledger/sound_records.h"

namespace faults {

enum class sound_mode { fake, forward };

using direct_sound_create_fn = HRESULT(WINAPI*)(LPCGUID, LPDIRECTSOUND*, LPUNKNOWN);

class sound_recorder : private object_keeper {
public:
    explicit sound_recorder(call_gate& gate);
    ~sound_recorder();
    sound_recorder(const sound_recorder&) = delete;
    sound_recorder& operator=(const sound_recorder&) = delete;

    // Applies to devices created afterwards.
    void set_mode(sound_mode mode);

    // Ends buffer#n's playback as if it had played out; false when the
    // module holds no such buffer.
    bool finish_playing(int buffer);

    sound_log log() const;
    // The same without a copy, for a reader holding the ledger's lock.
    const sound_log& recorded() const { return log_; }
    std::size_t devices_alive() const;
    std::size_t buffers_alive() const;

    // DirectSoundCreate, as the hook hands it over.
    HRESULT create(const verdict& v, const GUID* device, LPDIRECTSOUND* out, LPUNKNOWN outer,
                   direct_sound_create_fn real);

private:
    call_gate& gate() override { return gate_; }
    sound_log& records() override { return log_; }
    recorded_buffer& add_buffer(recorded_device& device, IDirectSoundBuffer* inner) override;
    object_keeper& keeper() { return *this; }

    call_gate& gate_;
    sound_mode mode_ = sound_mode::fake;
    sound_log log_;
    // Declared first, destroyed last: buffers go back before their devices.
    std::vector<std::unique_ptr<recorded_device>> devices_;
    std::vector<std::unique_ptr<recorded_buffer>> buffers_;
};

}  // namespace faults
