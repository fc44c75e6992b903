// DirectSoundCreate: handed over to the sound recorder, which gives the
// module a recording layer over a device (see sound_recorder.h).
#include "standin/ledger/hooked_call.h"
#include "standin/ledger/hooks.h"

namespace faults {

HRESULT WINAPI hook_DirectSoundCreate(LPCGUID device, LPDIRECTSOUND* out, LPUNKNOWN outer) {
    hooked_call call(api::DirectSoundCreate);
    return call.owner().sound().create(call.outcome(), device, out, outer,
                                       call.original<decltype(DirectSoundCreate)>());
}

}  // namespace faults
