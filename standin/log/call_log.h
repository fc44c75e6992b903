// What the module asked of the host, kept two ways: every service call with
// its arguments as values (for tests), and one readable line per event (for
// a person), in the order things happened. A log that nobody reads back
// keeps only its errors and hands each line to its sink, so that a long run's
// memory stays flat.
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
    // `keep`: whether calls() and lines() keep what happened.
    call_log(log_sink sink, bool keep);

    // A service call and its readable line.
    void record(service_call call, const std::string& line);
    // A readable line with no service call: variable writes, lifecycle, clicks.
    void line(const std::string& text);
    // Something the host found wrong; also written as an "error: " line.
    void error(const std::string& text);

    // While one of these lives (and `quiet` is true), calls and lines are
    // dropped; errors are still kept and written.
    class quiet_while {
    public:
        quiet_while(call_log& log, bool quiet) : log_(log), was_(log.quiet_) { log.quiet_ = was_ || quiet; }
        ~quiet_while() { log_.quiet_ = was_; }
        quiet_while(const quiet_while&) = delete;
        quiet_while& operator=(const quiet_while&) = delete;

    private:
        call_log& log_;
        bool was_;
    };

    const std::vector<service_call>& calls() const { return calls_; }
    const std::vector<std::string>& lines() const { return lines_; }
    const std::vector<std::string>& errors() const { return errors_; }
    std::size_t count(std::string_view name) const;
    std::string text() const;        // all lines, each ended by '\n'

private:
    void write(const std::string& text);

    log_sink sink_;
    bool keep_;
    bool quiet_ = false;
    std::vector<service_call> calls_;
    std::vector<std::string> lines_;
    std::vector<std::string> errors_;
};

}  // namespace standin
