// mmioOpenA, mmioDescend, mmioRead, mmioAscend, mmioClose, mmioSeek: the
// module reads its sound file through these. Handles are tracked from open to
// close; using one the module doesn't hold open is reported.
#include "standin/faults/describe.h"
#include "standin/faults/hook_table.h"
#include "standin/faults/ledger.h"

namespace faults {
namespace {

void check_open(ledger& l, HMMIO file, const char* what) {
    if (!l.state().mmio.open_files.count(file))
        l.problem(std::string(what) + "(" + pointer_text(file) + "): handle is not open");
}

HMMIO WINAPI hook_mmioOpenA(LPSTR name, LPMMIOINFO info, DWORD flags) {
    last_error_keeper error;
    ledger& l = hooked_ledger();
    auto guard = l.lock();
    verdict v = l.enter(api::mmioOpenA);
    mmio_open_call call{{v.seq, v.fail}, read_string(name), flags, info != nullptr};
    if (info) {
        call.io_proc = info->fccIOProc;
        call.memory = info->pchBuffer;
        call.memory_bytes = info->cchBuffer;
    }
    HMMIO file = nullptr;
    if (v.fail) {
        if (info) info->wErrorRet = v.code;
    } else {
        file = l.real<decltype(&mmioOpenA)>(api::mmioOpenA)(name, info, flags);
        error.capture();
    }
    call.result = file;
    if (info) call.error = info->wErrorRet;
    // MMIO_PARSE and MMIO_EXIST answer without opening anything.
    if (file && !(flags & (MMIO_PARSE | MMIO_EXIST))) l.state().mmio.open_files.insert(file);
    l.state().mmio.opens.push_back(std::move(call));
    return file;
}

MMRESULT WINAPI hook_mmioDescend(HMMIO file, LPMMCKINFO chunk, const MMCKINFO* parent, UINT flags) {
    last_error_keeper error;
    ledger& l = hooked_ledger();
    auto guard = l.lock();
    verdict v = l.enter(api::mmioDescend);
    check_open(l, file, "mmioDescend");
    mmio_descend_call call{{v.seq, v.fail}, file, flags};
    if (chunk) call.searched = (flags & (MMIO_FINDRIFF | MMIO_FINDLIST)) ? chunk->fccType : chunk->ckid;
    call.parent_given = parent != nullptr;
    MMRESULT result = v.code;
    if (!v.fail) {
        result = l.real<decltype(&mmioDescend)>(api::mmioDescend)(file, chunk, parent, flags);
        error.capture();
        if (result == MMSYSERR_NOERROR && chunk) {
            call.found_id = chunk->ckid;
            call.found_size = chunk->cksize;
            call.found_type = chunk->fccType;
        }
    }
    call.result = result;
    l.state().mmio.descends.push_back(std::move(call));
    return result;
}

LONG WINAPI hook_mmioRead(HMMIO file, HPSTR data, LONG bytes) {
    last_error_keeper error;
    ledger& l = hooked_ledger();
    auto guard = l.lock();
    verdict v = l.enter(api::mmioRead);
    check_open(l, file, "mmioRead");
    LONG result = -1;
    if (!v.fail) {
        result = l.real<decltype(&mmioRead)>(api::mmioRead)(file, data, bytes);
        error.capture();
    }
    l.state().mmio.reads.push_back({{v.seq, v.fail}, file, bytes, result});
    return result;
}

MMRESULT WINAPI hook_mmioAscend(HMMIO file, LPMMCKINFO chunk, UINT flags) {
    last_error_keeper error;
    ledger& l = hooked_ledger();
    auto guard = l.lock();
    verdict v = l.enter(api::mmioAscend);
    check_open(l, file, "mmioAscend");
    if (v.fail) return v.code;
    MMRESULT result = l.real<decltype(&mmioAscend)>(api::mmioAscend)(file, chunk, flags);
    error.capture();
    return result;
}

LONG WINAPI hook_mmioSeek(HMMIO file, LONG offset, int origin) {
    last_error_keeper error;
    ledger& l = hooked_ledger();
    auto guard = l.lock();
    verdict v = l.enter(api::mmioSeek);
    check_open(l, file, "mmioSeek");
    if (v.fail) return -1;
    LONG result = l.real<decltype(&mmioSeek)>(api::mmioSeek)(file, offset, origin);
    error.capture();
    return result;
}

MMRESULT WINAPI hook_mmioClose(HMMIO file, UINT flags) {
    last_error_keeper error;
    ledger& l = hooked_ledger();
    auto guard = l.lock();
    verdict v = l.enter(api::mmioClose);
    check_open(l, file, "mmioClose");
    if (v.fail) return v.code;
    MMRESULT result = l.real<decltype(&mmioClose)>(api::mmioClose)(file, flags);
    error.capture();
    // The handle is gone even when flushing its buffer failed.
    l.state().mmio.open_files.erase(file);
    return result;
}

const hook_entry table[] = {
    {api::mmioOpenA, {"winmm.dll", "mmioOpenA"}, reinterpret_cast<void*>(hook_mmioOpenA), true},
    {api::mmioDescend, {"winmm.dll", "mmioDescend"}, reinterpret_cast<void*>(hook_mmioDescend), true},
    {api::mmioRead, {"winmm.dll", "mmioRead"}, reinterpret_cast<void*>(hook_mmioRead), true},
    {api::mmioAscend, {"winmm.dll", "mmioAscend"}, reinterpret_cast<void*>(hook_mmioAscend), true},
    {api::mmioClose, {"winmm.dll", "mmioClose"}, reinterpret_cast<void*>(hook_mmioClose), true},
    {api::mmioSeek, {"winmm.dll", "mmioSeek"}, reinterpret_cast<void*>(hook_mmioSeek), false},
};

}  // namespace

std::span<const hook_entry> mmio_hooks() { return table; }

}  // namespace faults
