// What the module asked of the host, kept two ways: every service call with
// its arguments as values (for tests), and one readable line per event (for
// a person), in the order things happened.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace standin {

struct service_call {
    std::string name;                // service name, e.g. "initialize_var"
    std::vector<uintptr_t> args;     // the arguments exactly as passed
    std::string text;                // a string argument, when there is one
};

using log_sink = std::function<void(const std::string& line)>;

class call_log {
public:
    explicit call_log(log_sink sink);

    // A service call and its readable line.
    void record(service_call call, const std::string& line);
    // A readable line with no service call: variable writes, lifecycle, clicks.
    void line(const std::string& text);
    // Something the host found wrong; also written as an "error: " line.
    void error(const std::string& text);

    const std::vector<service_call>& calls() const { return calls_; }
    const std::vector<std::string>& lines() const { return lines_; }
    const std::vector<std::string>& errors() const { return errors_; }
    std::size_t count(std::string_view name) const;
    std::string text() const;        // all lines, each ended by '\n'

private:
    log_sink sink_;
    std::vector<service_call> calls_;
    std::vector<std::string> lines_;
    std::vector<std::string> errors_;
};

}  // namespace standin
