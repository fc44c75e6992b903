#include "fuzz/wave_expectation.h"

#include <dsound.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "standin/fake_sound/fake_device.h"

namespace fuzz {
namespace {

constexpr std::uint64_t header_bytes = 8;  // a chunk's id and its size

std::uint32_t word_at(const bytes& file, std::uint64_t at) {
    std::uint32_t v = 0;
    std::memcpy(&v, file.data() + at, 4);
    return v;
}

struct chunk {
    std::uint32_t id;
    std::uint64_t begin;  // its first data byte
    std::uint32_t size;   // as its header claims
    std::uint64_t end() const { return begin + size; }
    std::uint64_t padded_end() const { return end() + (size & 1); }
};

// The chunks that follow one another from `from`, as far as `limit`: each
// header lies whole within it, and the next begins after the data and pad
// byte the header claims. A claim past the limit ends the list: what lies
// behind it cannot be told from data.
std::vector<chunk> chunks_between(const bytes& file, std::uint64_t from, std::uint64_t limit) {
    std::vector<chunk> list;
    for (std::uint64_t at = from; at + header_bytes <= limit; at = list.back().padded_end())
        list.push_back({word_at(file, at), at + header_bytes, word_at(file, at + 4)});
    return list;
}

const chunk* first(const std::vector<chunk>& list, std::size_t from, std::uint32_t id) {
    for (std::size_t i = from; i < list.size(); ++i)
        if (list[i].id == id) return &list[i];
    return nullptr;
}

}  // namespace

std::optional<expected_clip> expected_playback(const bytes& file) {
    // The file's top level: the first RIFF chunk whose form type, its first
    // four data bytes, is "WAVE" and lies within the file.
    const chunk* riff = nullptr;
    const std::vector<chunk> top = chunks_between(file, 0, file.size());
    for (const chunk& c : top) {
        if (c.id == mmioFOURCC('R', 'I', 'F', 'F') && c.begin + 4 <= file.size() &&
            word_at(file, c.begin) == mmioFOURCC('W', 'A', 'V', 'E')) {
            riff = &c;
            break;
        }
    }
    if (!riff) return std::nullopt;

    // Its chunks follow the form type, up to where the RIFF chunk ends, or
    // the file does when it claims more.
    const std::uint64_t body_end = std::min<std::uint64_t>(riff->end(), file.size());
    const std::vector<chunk> body = chunks_between(file, riff->begin + 4, body_end);

    // The format record is the first "fmt " chunk, which must lie whole,
    // pad byte and all, inside the RIFF chunk. Its first bytes are the
    // record; a short chunk leaves the rest zero; extra bytes are not kept.
    const chunk* format = first(body, 0, mmioFOURCC('f', 'm', 't', ' '));
    if (!format || format->padded_end() > body_end) return std::nullopt;
    expected_clip clip{};
    std::memcpy(&clip.format, file.data() + format->begin, std::min<std::uint32_t>(format->size, sizeof clip.format));
    clip.format.cbSize = 0;

    // The samples are the first "data" chunk after it, as much of it as the RIFF chunk holds.
    const chunk* data = first(body, format - body.data() + 1, mmioFOURCC('d', 'a', 't', 'a'));
    if (!data) return std::nullopt;
    const std::uint64_t samples_end = std::min(data->end(), body_end);
    if (samples_end <= data->begin) return std::nullopt;
    clip.samples.assign(file.begin() + data->begin, file.begin() + samples_end);

    // And the device must take the format for a buffer of that many bytes.
    DSBUFFERDESC description = {};
    description.dwSize = sizeof description;
    description.dwBufferBytes = DWORD(clip.samples.size());
    description.lpwfxFormat = &clip.format;
    if (fake_sound::check_buffer_desc(&description, &clip.buffer_bytes) != DS_OK) return std::nullopt;
    return clip;
}

}  // namespace fuzz
