#include "fuzz/wave_mutator.h"

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <optional>
#include <utility>

namespace fuzz {
namespace {

struct chunk {
    std::uint32_t id;
    bytes data;
    std::optional<std::uint32_t> declared;  // a size other than the data's own
};

// A file seen as a RIFF header and its top-level chunks, so that chunk-level
// changes can be made before it is written out again.
struct riff_file {
    std::uint32_t form = 0;
    std::optional<std::uint32_t> declared;
    std::vector<chunk> chunks;
    bytes trailing;  // whatever follows the chunks that parsed
};

constexpr std::uint32_t fourcc(const char (&id)[5]) {
    return std::uint32_t(std::uint8_t(id[0])) | std::uint32_t(std::uint8_t(id[1])) << 8 |
           std::uint32_t(std::uint8_t(id[2])) << 16 | std::uint32_t(std::uint8_t(id[3])) << 24;
}

std::uint32_t read32(const bytes& b, std::size_t at) {
    std::uint32_t v = 0;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

void put32(bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(std::uint8_t(v >> (8 * i)));
}

void put16(bytes& b, std::uint16_t v) {
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}

std::string name_of(std::uint32_t id) {
    std::string s(4, ' ');
    for (int i = 0; i < 4; ++i) {
        const char c = char(id >> (8 * i));
        s[i] = (c >= 32 && c < 127) ? c : '?';
    }
    return s;
}

// Well-formed chunks only; anything else stays as trailing bytes.
riff_file parse(const bytes& file) {
    riff_file riff;
    if (file.size() < 12) {
        riff.trailing = file;
        return riff;
    }
    riff.form = read32(file, 8);
    std::size_t at = 12;
    while (at + 8 <= file.size()) {
        const std::uint32_t size = read32(file, at + 4);
        if (size > file.size() - at - 8) break;
        riff.chunks.push_back({read32(file, at), bytes(file.begin() + at + 8, file.begin() + at + 8 + size), {}});
        at += 8 + size + (size & 1);
    }
    if (at < file.size()) riff.trailing.assign(file.begin() + at, file.end());
    return riff;
}

// Also gives the offset of every chunk boundary: header start, data start, end.
bytes write(const riff_file& riff, std::vector<std::size_t>* boundaries = nullptr) {
    bytes out = {'R', 'I', 'F', 'F'};
    put32(out, 0);
    put32(out, riff.form);
    for (const chunk& c : riff.chunks) {
        if (boundaries) boundaries->push_back(out.size());
        put32(out, c.id);
        put32(out, c.declared ? *c.declared : std::uint32_t(c.data.size()));
        if (boundaries) boundaries->push_back(out.size());
        out.insert(out.end(), c.data.begin(), c.data.end());
        if (c.data.size() & 1) out.push_back(0);
    }
    if (boundaries) boundaries->push_back(out.size());
    out.insert(out.end(), riff.trailing.begin(), riff.trailing.end());
    const std::uint32_t size = riff.declared ? *riff.declared : std::uint32_t(out.size() - 8);
    std::memcpy(out.data() + 4, &size, 4);
    return out;
}

constexpr std::uint16_t pcm = 1, ieee_float = 3;

bytes format_record(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
    bytes f;
    put16(f, tag);
    put16(f, channels);
    put32(f, rate);
    put32(f, rate * channels * bits / 8);
    put16(f, std::uint16_t(channels * bits / 8));
    put16(f, bits);
    return f;
}

bytes pattern(std::size_t count, std::uint8_t start) {
    bytes b(count);
    for (std::size_t i = 0; i < count; ++i) b[i] = std::uint8_t(start + 7 * i);
    return b;
}

wave_variant synthetic(const char* name, bytes format, bytes samples) {
    riff_file riff;
    riff.form = fourcc("WAVE");
    riff.chunks = {{fourcc("fmt "), std::move(format), {}}, {fourcc("data"), std::move(samples), {}}};
    return {name, write(riff)};
}

template <class T>
const T& pick(const std::vector<T>& from, random_source& random) {
    return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
}

std::size_t below(std::size_t n, random_source& random) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
}

std::optional<std::size_t> chunk_index(const riff_file& riff, std::uint32_t id) {
    for (std::size_t i = 0; i < riff.chunks.size(); ++i)
        if (riff.chunks[i].id == id) return i;
    return std::nullopt;
}

std::string size_text(std::uint32_t size) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", size);
    return text;
}

// A chunk to insert: LIST or junk, sometimes with a size that wraps the file
// position (the case mmioDescend never comes back from).
chunk filler(random_source& random) {
    const bool list = random() & 1;
    chunk c{list ? fourcc("LIST") : fourcc("junk"), list ? bytes{'I', 'N', 'F', 'O'} : pattern(below(9, random), 3), {}};
    static const std::vector<std::uint32_t> sizes = {0xFFFFFFF8u, 0xFFFFFFFFu, 0x7FFFFFFFu};
    if (below(3, random) == 0) c.declared = pick(sizes, random);
    return c;
}

void set_size(riff_file& riff, random_source& random, std::string& note) {
    const std::size_t which = below(riff.chunks.size() + 1, random);
    const std::size_t own = which < riff.chunks.size() ? riff.chunks[which].data.size() : 0;
    const std::vector<std::uint32_t> sizes = {0, std::uint32_t(own | 1), std::uint32_t(own + 1), 0x7FFFFFF0u,
                                              0xFFFFFFFFu, 0xFFFFFFF8u};
    const std::uint32_t size = pick(sizes, random);
    if (which == riff.chunks.size()) {
        riff.declared = size;
        note += " RIFF size " + size_text(size);
    } else {
        riff.chunks[which].declared = size;
        note.append(" ").append(name_of(riff.chunks[which].id)).append(" size ").append(size_text(size));
    }
}

void reorder(riff_file& riff, random_source& random, std::string& note) {
    if (riff.chunks.size() < 2) return;
    const std::size_t a = below(riff.chunks.size(), random), b = below(riff.chunks.size(), random);
    std::swap(riff.chunks[a], riff.chunks[b]);
    note += " swap " + std::to_string(a) + "," + std::to_string(b);
}

void duplicate(riff_file& riff, random_source& random, std::string& note) {
    if (riff.chunks.empty()) return;
    const chunk copy = riff.chunks[below(riff.chunks.size(), random)];
    const std::size_t at = below(riff.chunks.size() + 1, random);
    riff.chunks.insert(riff.chunks.begin() + at, copy);
    note += " double " + name_of(copy.id) + " at " + std::to_string(at);
}

void drop(riff_file& riff, random_source& random, std::string& note) {
    if (riff.chunks.empty()) return;
    const std::size_t at = below(riff.chunks.size(), random);
    note += " drop " + name_of(riff.chunks[at].id);
    riff.chunks.erase(riff.chunks.begin() + at);
}

// "fmt " cut or grown to another length; grown bytes carry a cbSize.
void format_length(riff_file& riff, random_source& random, std::string& note) {
    const auto at = chunk_index(riff, fourcc("fmt "));
    if (!at) return;
    static const std::vector<std::size_t> lengths = {0, 14, 16, 18, 40};
    const std::size_t length = pick(lengths, random);
    bytes& data = riff.chunks[*at].data;
    data.resize(length, 0);
    if (length >= 18) {
        data[16] = std::uint8_t(length - 18);
        data[17] = 0;
    }
    note += " fmt " + std::to_string(length) + " bytes";
}

void put_field(bytes& record, std::size_t at, std::size_t width, std::uint32_t value) {
    for (std::size_t i = 0; i < width && at + i < record.size(); ++i) record[at + i] = std::uint8_t(value >> (8 * i));
}

std::uint32_t field(const bytes& record, std::size_t at, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width && at + i < record.size(); ++i) value |= std::uint32_t(record[at + i]) << (8 * i);
    return value;
}

// One field of the format record set to an edge of its range. Half the time
// the block size is then made to agree with channels and bits, so that the
// format gets past the device's first checks to where it is played.
void format_field(riff_file& riff, random_source& random, std::string& note) {
    const auto at = chunk_index(riff, fourcc("fmt "));
    if (!at) return;
    struct format_field_values {
        const char* name;
        std::size_t offset, width;
        std::vector<std::uint32_t> values;
    };
    static const std::vector<format_field_values> fields = {
        {"tag", 0, 2, {0, 1, 2, 3, 0x55, 0xFFFE, 0xFFFF}},
        {"channels", 2, 2, {0, 1, 2, 6, 255, 0xFFFF}},
        {"rate", 4, 4, {0, 1, 99, 100, 8000, 44100, 200000, 200001, 40000000, 0x7FFFFFFF, 0xFFFFFFFF}},
        {"bytes per second", 8, 4, {0, 1, 0xFFFFFFFF}},
        {"block", 12, 2, {0, 1, 2, 3, 4, 8, 0xFFFF}},
        {"bits", 14, 2, {0, 1, 8, 12, 16, 24, 32, 40, 56, 64, 128, 0xFFFF}},
    };
    bytes& record = riff.chunks[*at].data;
    const format_field_values& f = pick(fields, random);
    const std::uint32_t value = pick(f.values, random);
    put_field(record, f.offset, f.width, value);
    note += std::string(" fmt ") + f.name + " " + size_text(value);
    if (random() & 1) {
        put_field(record, 12, 2, field(record, 2, 2) * field(record, 14, 2) / 8);
        note += " block agreeing";
    }
}

// Inserted before "fmt " or "data" more often than elsewhere: there a
// wrapping size matters most.
void insert_filler(riff_file& riff, random_source& random, std::string& note) {
    std::size_t at = below(riff.chunks.size() + 1, random);
    if (random() & 1) {
        const auto target = chunk_index(riff, (random() & 1) ? fourcc("fmt ") : fourcc("data"));
        if (target) at = *target;
    }
    const chunk c = filler(random);
    riff.chunks.insert(riff.chunks.begin() + at, c);
    note += " insert " + name_of(c.id) + (c.declared ? " size " + size_text(*c.declared) : "") + " at " +
            std::to_string(at);
}

using chunk_step = void (*)(riff_file&, random_source&, std::string&);
const chunk_step chunk_steps[] = {set_size, reorder, duplicate, drop, format_length, format_field, insert_filler};

void truncate(bytes& file, const std::vector<std::size_t>& boundaries, random_source& random, std::string& note) {
    std::vector<std::size_t> cuts = {0, 4, 8, 12};
    cuts.insert(cuts.end(), boundaries.begin(), boundaries.end());
    std::size_t at = pick(cuts, random);
    if (random() & 1) at = at + below(3, random) - 1;  // a byte either side
    if (at >= file.size()) return;
    file.resize(at);
    note += " cut at " + std::to_string(at);
}

void flip_bits(bytes& file, random_source& random, std::string& note) {
    if (file.empty()) return;
    const std::size_t count = 1 + below(4, random);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t bit = below(file.size() * 8, random);
        file[bit / 8] ^= std::uint8_t(1u << (bit % 8));
        note += " flip " + std::to_string(bit);
    }
}

}  // namespace

std::vector<wave_variant> synthetic_waves() {
    return {
        synthetic("8-bit mono", format_record(pcm, 1, 11025, 8), pattern(37, 0x80)),
        synthetic("16-bit stereo", format_record(pcm, 2, 44100, 16), pattern(64, 1)),
        synthetic("one 16-bit sample", format_record(pcm, 1, 8000, 16), pattern(2, 9)),
        synthetic("odd data", format_record(pcm, 1, 22050, 8), pattern(5, 0x70)),
        // Every sample size the device takes, so that a single changed field
        // meets each of them.
        synthetic("24-bit mono", format_record(pcm, 1, 48000, 24), pattern(30, 5)),
        synthetic("32-bit stereo", format_record(pcm, 2, 22050, 32), pattern(40, 11)),
        synthetic("32-bit float stereo", format_record(ieee_float, 2, 44100, 32), pattern(48, 2)),
        synthetic("64-bit float mono", format_record(ieee_float, 1, 8000, 64), pattern(32, 6)),
    };
}

wave_variant mutate_wave(const wave_variant& base, random_source& random) {
    wave_variant variant{base.description + ":", {}};
    riff_file riff = parse(base.file);
    const std::size_t chunk_changes = below(4, random);
    for (std::size_t i = 0; i < chunk_changes; ++i)
        chunk_steps[below(std::size(chunk_steps), random)](riff, random, variant.description);
    std::vector<std::size_t> boundaries;
    variant.file = write(riff, &boundaries);
    if (below(4, random) == 0) truncate(variant.file, boundaries, random, variant.description);
    if (below(4, random) == 0) flip_bits(variant.file, random, variant.description);
    if (variant.description.back() == ':') variant.description += " as is";
    return variant;
}

}  // namespace fuzz
