// DirectSoundCreate: the module's way into DirectSound. Import libraries name
// it "DirectSoundCreate" (MinGW's does); some import it as dsound.dll ordinal
// 1, so the patch matches either.
#include "standin/faults/hook_table.h"
#include "standin/faults/ledger.h"

namespace faults {
namespace {

constexpr WORD direct_sound_create_ordinal = 1;

HRESULT WINAPI hook_DirectSoundCreate(LPCGUID device, LPDIRECTSOUND* out, LPUNKNOWN outer) {
    ledger& l = hooked_ledger();
    return l.sound().create(device, out, outer,
                            l.real<direct_sound_create_fn>(api::DirectSoundCreate));
}

const hook_entry table[] = {
    {api::DirectSoundCreate, {"dsound.dll", "DirectSoundCreate", direct_sound_create_ordinal},
     reinterpret_cast<void*>(hook_DirectSoundCreate), true},
};

}  // namespace

std::span<const hook_entry> sound_hooks() { return table; }

}  // namespace faults
