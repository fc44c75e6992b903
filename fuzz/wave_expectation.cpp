#include "fuzz/wave_expectation.h"

#include <dsound.h>

#include <cstring>

#include "standin/faults/fake_device.h"

namespace fuzz {
namespace {

constexpr std::uint64_t header_bytes = 8;

std::uint32_t word_at(const bytes& file, std::uint64_t at) {
    std::uint32_t v = 0;
    std::memcpy(&v, file.data() + at, 4);
    return v;
}

struct found_chunk {
    std::uint64_t data_offset;
    std::uint32_t size;
};

// The first chunk named `id` (and, for a RIFF, of form `form`) from `start`,
// skipping each other chunk by its size rounded up to even, as mmioDescend
// does. Every header read and every skip must stay within `end`.
std::optional<found_chunk> find_chunk(const bytes& file, std::uint64_t start, std::uint64_t end,
                                      std::uint32_t id, std::uint32_t form) {
    std::uint64_t at = start;
    while (at + header_bytes <= end) {
        const std::uint32_t name = word_at(file, at);
        const std::uint32_t size = word_at(file, at + 4);
        if (name == id) {
            if (!form) return found_chunk{at + header_bytes, size};
            if (at + 12 <= file.size() && word_at(file, at + 8) == form) return found_chunk{at + header_bytes, size};
        }
        at += header_bytes + size + (size & 1);
        if (at > end) return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

std::optional<expected_clip> expected_playback(const bytes& file) {
    const std::uint64_t file_size = file.size();
    const auto riff = find_chunk(file, 0, file_size, mmioFOURCC('R', 'I', 'F', 'F'), mmioFOURCC('W', 'A', 'V', 'E'));
    if (!riff) return std::nullopt;
    const std::uint64_t riff_end = std::min<std::uint64_t>(riff->data_offset + riff->size, file_size);

    // The RIFF chunk is taken as ending where the file does when it claims
    // more; its chunks start after its four-byte form type.
    const auto format = find_chunk(file, riff->data_offset + 4, riff_end, mmioFOURCC('f', 'm', 't', ' '), 0);
    if (!format) return std::nullopt;
    // The whole "fmt " chunk, pad byte included, lies within the RIFF chunk.
    if (format->data_offset + format->size + (format->size & 1) > riff_end) return std::nullopt;
    expected_clip clip{};
    std::memcpy(&clip.format, file.data() + format->data_offset,
                std::min<std::uint32_t>(format->size, sizeof clip.format));
    clip.format.cbSize = 0;

    // mmioAscend leaves the file past the chunk's pad byte.
    const std::uint64_t data_search = format->data_offset + format->size + (format->size & 1);
    const auto data = find_chunk(file, data_search, riff_end, mmioFOURCC('d', 'a', 't', 'a'), 0);
    if (!data) return std::nullopt;
    const std::uint64_t held = riff_end > data->data_offset ? riff_end - data->data_offset : 0;
    const std::uint64_t count = std::min<std::uint64_t>(data->size, held);
    if (count == 0) return std::nullopt;
    clip.samples.assign(file.begin() + data->data_offset, file.begin() + data->data_offset + count);

    DSBUFFERDESC description = {};
    description.dwSize = sizeof description;
    description.dwBufferBytes = DWORD(count);
    description.lpwfxFormat = &clip.format;
    if (faults::check_buffer_desc(&description, &clip.buffer_bytes) != DS_OK) return std::nullopt;
    return clip;
}

}  // namespace fuzz
