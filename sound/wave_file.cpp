#include "sound/wave_file.h"

namespace {

constexpr uint32_t chunk_header_bytes = 8;
constexpr FOURCC wave_form = mmioFOURCC('W', 'A', 'V', 'E');
constexpr FOURCC format_chunk = mmioFOURCC('f', 'm', 't', ' ');
constexpr FOURCC data_chunk = mmioFOURCC('d', 'a', 't', 'a');

uint32_t smaller(uint64_t a, uint64_t b) { return static_cast<uint32_t>(a < b ? a : b); }

// Where a chunk's data ends, by its own claim, kept within `limit`.
uint32_t chunk_end(const MMCKINFO& chunk, uint32_t limit) {
    return smaller(uint64_t{chunk.dwDataOffset} + chunk.cksize, limit);
}

// The search inside mmioDescend trusts every size it skips, and one that
// wraps the 32-bit file position sends it round for ever. So the same
// headers are walked here first: the search may run only when every chunk it
// skips lies before `end` and the chunk it looks for is there.
bool chunk_ahead(HMMIO file, uint32_t end, FOURCC id, FOURCC form) {
    const LONG start = mmioSeek(file, 0, SEEK_CUR);
    if (start < 0) return false;
    bool found = false;
    uint64_t position = static_cast<uint32_t>(start);
    while (position + chunk_header_bytes <= end) {
        DWORD header[3] = {};
        const LONG got = mmioRead(file, reinterpret_cast<HPSTR>(header), sizeof header);
        if (got < static_cast<LONG>(chunk_header_bytes)) break;
        if (header[0] == id && (!form || (got == sizeof header && header[2] == form))) {
            found = true;
            break;
        }
        position += chunk_header_bytes + uint64_t{header[1]} + (header[1] & 1);
        if (position > end) break;
        if (mmioSeek(file, static_cast<LONG>(position), SEEK_SET) != static_cast<LONG>(position)) break;
    }
    return mmioSeek(file, start, SEEK_SET) == start && found;
}

bool descend_to_form(HMMIO file, MMCKINFO* chunk, uint32_t end, FOURCC form) {
    if (!chunk_ahead(file, end, FOURCC_RIFF, form)) return false;
    chunk->fccType = form;
    return mmioDescend(file, chunk, nullptr, MMIO_FINDRIFF) == MMSYSERR_NOERROR;
}

bool descend_to_chunk(HMMIO file, MMCKINFO* chunk, const MMCKINFO* parent, uint32_t end, FOURCC id) {
    if (!chunk_ahead(file, end, id, 0)) return false;
    chunk->ckid = id;
    return mmioDescend(file, chunk, parent, MMIO_FINDCHUNK) == MMSYSERR_NOERROR;
}

// The first bytes of "fmt " are the format record. A shorter chunk holds no
// more of it: the rest stays zero rather than being taken from what follows.
bool read_format(HMMIO file, const MMCKINFO& chunk, WAVEFORMATEX* format) {
    *format = {};
    const LONG wanted = static_cast<LONG>(smaller(chunk.cksize, sizeof *format));
    if (mmioRead(file, reinterpret_cast<HPSTR>(format), wanted) == -1) return false;
    // Only the fixed record is kept: no extra format bytes follow it.
    format->cbSize = 0;
    return true;
}

}  // namespace

bool read_wave_layout(HMMIO file, WAVEFORMATEX* format, uint32_t* sample_bytes) {
    const LONG file_size = mmioSeek(file, 0, SEEK_END);
    if (file_size < 0 || mmioSeek(file, 0, SEEK_SET) != 0) return false;

    MMCKINFO riff = {};
    if (!descend_to_form(file, &riff, static_cast<uint32_t>(file_size), wave_form)) return false;
    const uint32_t riff_end = chunk_end(riff, static_cast<uint32_t>(file_size));
    // The searches inside it take the RIFF chunk as what the file holds: a
    // claimed size past the file (or one that wraps) would put them outside.
    riff.cksize = riff_end - riff.dwDataOffset;

    MMCKINFO format_info = {};
    if (!descend_to_chunk(file, &format_info, &riff, riff_end, format_chunk)) return false;
    if (!read_format(file, format_info, format)) return false;
    // Leaving "fmt " seeks past its declared end, which must stay inside the RIFF chunk.
    const uint64_t format_end =
        uint64_t{format_info.dwDataOffset} + format_info.cksize + (format_info.cksize & 1);
    if (format_end > riff_end) return false;
    if (mmioAscend(file, &format_info, 0) != MMSYSERR_NOERROR) return false;

    MMCKINFO data = {};
    if (!descend_to_chunk(file, &data, &riff, riff_end, data_chunk)) return false;
    // The declared size is the file's claim; only what the file holds is read.
    const uint32_t held = riff_end > data.dwDataOffset ? riff_end - data.dwDataOffset : 0;
    *sample_bytes = smaller(data.cksize, held);
    return true;
}
