#include "standin/log/call_log.h"

#include <algorithm>
#include <utility>

namespace standin {

call_log::call_log(log_sink sink, bool keep) : sink_(std::move(sink)), keep_(keep) {}

void call_log::record(service_call call, const std::string& line_text) {
    if (quiet_) return;
    if (keep_) calls_.push_back(std::move(call));
    line(line_text);
}

void call_log::line(const std::string& text) {
    if (!quiet_) write(text);
}

void call_log::write(const std::string& text) {
    if (keep_) lines_.push_back(text);
    if (sink_) sink_(text);
}

void call_log::error(const std::string& text) {
    errors_.push_back(text);
    write("error: " + text);
}

std::size_t call_log::count(std::string_view name) const {
    return static_cast<std::size_t>(std::count_if(
        calls_.begin(), calls_.end(), [&](const service_call& call) { return call.name == name; }));
}

std::string call_log::text() const {
    std::string all;
    for (const std::string& l : lines_) all += l + '\n';
    return all;
}

}  // namespace standin
