#include "tests/sound/wave_builder.h"

#include <stdexcept>

namespace wave {
namespace {

void put_id(bytes& out, std::string_view id) {
    if (id.size() != 4) throw std::invalid_argument("chunk ids have four characters");
    out.insert(out.end(), id.begin(), id.end());
}

void put_u32(bytes& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void put_u16(bytes& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

}  // namespace

bytes chunk_declared(std::string_view id, uint32_t declared, const bytes& body) {
    bytes out;
    put_id(out, id);
    put_u32(out, declared);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

bytes chunk(std::string_view id, const bytes& body) {
    bytes out = chunk_declared(id, static_cast<uint32_t>(body.size()), body);
    if (body.size() % 2) out.push_back(0);
    return out;
}

bytes riff_declared(uint32_t declared, const bytes& chunks, std::string_view form) {
    bytes body;
    put_id(body, form);
    body.insert(body.end(), chunks.begin(), chunks.end());
    return chunk_declared("RIFF", declared, body);
}

bytes riff(const bytes& chunks, std::string_view form) {
    return riff_declared(static_cast<uint32_t>(chunks.size() + 4), chunks, form);
}

bytes pcm_format(uint16_t channels, uint32_t rate, uint16_t bits, std::size_t record_bytes,
                 uint16_t format_tag) {
    const uint16_t block = static_cast<uint16_t>(channels * bits / 8);
    bytes out;
    put_u16(out, format_tag);
    put_u16(out, channels);
    put_u32(out, rate);
    put_u32(out, rate * block);
    put_u16(out, block);
    put_u16(out, bits);
    out.resize(record_bytes, 0);
    return out;
}

bytes samples(std::size_t count, uint8_t seed) {
    bytes out(count);
    uint32_t state = 0x9E3779B9u * (seed + 1u);
    for (auto& b : out) {
        state = state * 1664525u + 1013904223u;
        b = static_cast<uint8_t>(state >> 24);
    }
    return out;
}

bytes plain(const bytes& sample_bytes) {
    return riff(join({chunk("fmt ", pcm_format()), chunk("data", sample_bytes)}));
}

bytes join(std::initializer_list<bytes> parts) {
    bytes out;
    for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

}  // namespace wave
