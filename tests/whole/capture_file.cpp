#include "tests/whole/capture_file.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

constexpr uint16_t pcm_format = 1;
constexpr uint16_t float_format = 3;

template <typename T>
T read_at(const std::vector<char>& bytes, std::size_t at) {
    T value{};
    std::memcpy(&value, bytes.data() + at, sizeof value);
    return value;
}

double sample_at(const std::vector<char>& bytes, std::size_t at, uint16_t tag, uint16_t bits) {
    if (tag == float_format && bits == 32) return std::fabs(read_at<float>(bytes, at));
    if (tag == pcm_format && bits == 16) return std::fabs(read_at<int16_t>(bytes, at) / 32768.0);
    if (tag == pcm_format && bits == 32) return std::fabs(read_at<int32_t>(bytes, at) / 2147483648.0);
    throw std::runtime_error("capture format " + std::to_string(tag) + "/" + std::to_string(bits) + " not read");
}

}  // namespace

std::size_t capture::loud_span(double level) const {
    auto loud = [level](double peak) { return peak >= level; };
    auto first = std::find_if(peaks.begin(), peaks.end(), loud);
    if (first == peaks.end()) return 0;
    auto last = std::find_if(peaks.rbegin(), peaks.rend(), loud);
    return static_cast<std::size_t>(std::distance(first, last.base()));
}

std::size_t capture::bursts(double level, std::size_t quiet) const {
    std::size_t count = 0;
    std::size_t since_loud = quiet;
    for (double peak : peaks) {
        if (peak < level) {
            ++since_loud;
            continue;
        }
        if (since_loud >= quiet) ++count;
        since_loud = 0;
    }
    return count;
}

std::optional<capture> read_capture(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    capture result;

    // RIFF header, then chunks: "fmt " first, "data" running to the end of
    // what was written, whatever size its header claims.
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) || std::memcmp(bytes.data() + 8, "WAVE", 4))
        throw std::runtime_error("capture is not a WAVE file");
    uint16_t tag = 0, bits = 0;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const uint32_t size = read_at<uint32_t>(bytes, at + 4);
        if (!std::memcmp(bytes.data() + at, "fmt ", 4) && at + 24 <= bytes.size()) {
            tag = read_at<uint16_t>(bytes, at + 8);
            result.channels = read_at<uint16_t>(bytes, at + 10);
            result.rate = read_at<uint32_t>(bytes, at + 12);
            bits = read_at<uint16_t>(bytes, at + 22);
        } else if (!std::memcmp(bytes.data() + at, "data", 4)) {
            if (!result.channels || !bits) throw std::runtime_error("capture has data before its format");
            const std::size_t frame_bytes = result.channels * (bits / 8u);
            for (std::size_t frame = at + 8; frame + frame_bytes <= bytes.size(); frame += frame_bytes) {
                double peak = 0;
                for (unsigned c = 0; c < result.channels; ++c)
                    peak = std::max(peak, sample_at(bytes, frame + c * (bits / 8u), tag, bits));
                result.peaks.push_back(peak);
            }
            return result;
        }
        at += 8 + size + (size & 1);
    }
    throw std::runtime_error("capture has no data chunk");
}
