// Clip files built byte by byte: RIFF forms of any chunks, with sizes that
// may lie about what follows, for feeding the gauge good and bad click.wav.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wave {

using bytes = std::vector<uint8_t>;

// One chunk: four-character id, size field, body, and the pad byte an
// odd-sized body is followed by. `declared` replaces the size field only.
bytes chunk(std::string_view id, const bytes& body);
bytes chunk_declared(std::string_view id, uint32_t declared, const bytes& body = {});

// "RIFF", size of what follows, the form type, then the chunks as given.
bytes riff(const bytes& chunks, std::string_view form = "WAVE");
bytes riff_declared(uint32_t declared, const bytes& chunks, std::string_view form = "WAVE");

// A PCM format record (16 bytes), optionally cut or extended to `record_bytes`.
bytes pcm_format(uint16_t channels = 1, uint32_t rate = 22050, uint16_t bits = 16,
                 std::size_t record_bytes = 16, uint16_t format_tag = 1);

// `count` bytes of a pattern no two neighbouring clips share by chance.
bytes samples(std::size_t count, uint8_t seed = 1);

// RIFF WAVE with a 16-byte "fmt " (mono 16-bit 22050 Hz) and a "data" of `sample_bytes`.
bytes plain(const bytes& sample_bytes);

bytes join(std::initializer_list<bytes> parts);

}  // namespace wave
