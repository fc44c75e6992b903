// A simulated DirectSound device and its buffers, answering the calls the
// module makes as Wine's DirectSound does: a buffer is real memory of the
// described size, from a page heap, and plays from Play until Stop. Every other method
// answers E_NOTIMPL; the recording layer never passes such calls on.
#pragma once
#include <windows.h>
#include <dsound.h>

namespace traps {
class page_heap;
}

namespace fake_sound {

// DirectSoundCreate on the fake: refuses what Wine's refuses. Its buffers'
// memory comes from `heap`, which must outlive them.
HRESULT fake_direct_sound_create(traps::page_heap& heap, LPCGUID device, LPDIRECTSOUND* out, LPUNKNOWN outer);

// Checks a secondary buffer's description as CreateSoundBuffer is documented
// to. On success `bytes` is the size the buffer gets (rounded up to whole blocks).
HRESULT check_buffer_desc(const DSBUFFERDESC* desc, DWORD* bytes);

}  // namespace fake_sound
