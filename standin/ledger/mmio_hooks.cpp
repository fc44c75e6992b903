// mmioOpenA, mmioDescend, mmioRead, mmioAscend, mmioClose, mmioSeek: the
// module reads its sound file through these. Handles are tracked from open to
// close; using one the module doesn't hold open is reported.
#include <string>
#include <utility>

#include "standin/ledger/hooked_call.h"
#include "standin/ledger/hooks.h"
#include "standin/log/value_text.h"

namespace faults {
namespace {

void check_open(hooked_call& call, HMMIO file, const char* what) {
    if (!call.state().mmio.open_files.count(file))
        call.owner().problem(std::string(what) + "(" + standin::pointer_text(file) + "): handle is not open");
}

}  // namespace

HMMIO WINAPI hook_mmioOpenA(LPSTR name, LPMMIOINFO info, DWORD flags) {
    hooked_call call(api::mmioOpenA);
    mmio_open_call record{call.mark(), read_string(name), flags, info != nullptr};
    HMMIO file = nullptr;
    if (!call.failing())
        file = call.real<decltype(mmioOpenA)>(name, info, flags);
    else if (info)
        info->wErrorRet = call.code();
    record.result = file;
    // MMIO_PARSE and MMIO_EXIST answer without opening anything.
    if (file && !(flags & (MMIO_PARSE | MMIO_EXIST))) call.state().mmio.open_files.insert(file);
    call.state().mmio.opens.push_back(std::move(record));
    return file;
}

MMRESULT WINAPI hook_mmioDescend(HMMIO file, LPMMCKINFO chunk, const MMCKINFO* parent, UINT flags) {
    hooked_call call(api::mmioDescend);
    check_open(call, file, "mmioDescend");
    mmio_descend_call record{call.mark(), file, flags};
    if (chunk) record.searched = (flags & (MMIO_FINDRIFF | MMIO_FINDLIST)) ? chunk->fccType : chunk->ckid;
    record.parent_given = parent != nullptr;
    record.result = call.failing() ? call.code() : call.real<decltype(mmioDescend)>(file, chunk, parent, flags);
    call.state().mmio.descends.push_back(record);
    return record.result;
}

LONG WINAPI hook_mmioRead(HMMIO file, HPSTR data, LONG bytes) {
    hooked_call call(api::mmioRead);
    check_open(call, file, "mmioRead");
    const LONG result = call.failing() ? -1 : call.real<decltype(mmioRead)>(file, data, bytes);
    call.state().mmio.reads.push_back({call.mark(), file, bytes, result});
    return result;
}

MMRESULT WINAPI hook_mmioAscend(HMMIO file, LPMMCKINFO chunk, UINT flags) {
    hooked_call call(api::mmioAscend);
    check_open(call, file, "mmioAscend");
    return call.failing() ? call.code() : call.real<decltype(mmioAscend)>(file, chunk, flags);
}

LONG WINAPI hook_mmioSeek(HMMIO file, LONG offset, int origin) {
    hooked_call call(api::mmioSeek);
    check_open(call, file, "mmioSeek");
    return call.failing() ? -1 : call.real<decltype(mmioSeek)>(file, offset, origin);
}

MMRESULT WINAPI hook_mmioClose(HMMIO file, UINT flags) {
    hooked_call call(api::mmioClose);
    check_open(call, file, "mmioClose");
    if (call.failing()) return call.code();
    const MMRESULT result = call.real<decltype(mmioClose)>(file, flags);
    // The handle is gone even when flushing its buffer failed.
    call.state().mmio.open_files.erase(file);
    return result;
}

}  // namespace faults
