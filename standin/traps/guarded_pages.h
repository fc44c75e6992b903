// One vectored exception handler for the whole process, in front of every
// other, and the registry of what keeps pages the module may not touch
// freely: the page heap's no-access pages, the "ligar" write trap's
// read-only page. A fault on one of them is the owner's finding, not a
// crash: the owner makes its pages accessible, and the access runs again.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

namespace traps {

// A memory access that faulted, as far as it can be placed.
struct fault_touch {
    std::uintptr_t address;  // where the access starts
    std::size_t span;        // how many bytes from there it may have touched
    bool write;              // false: a read, or not known
};

class page_watcher {
public:
    // Asked on the faulting thread, with the registry locked, whether
    // `touch` hit pages of this watcher's. If so it has made them accessible
    // and answers what is to run once the registry's lock is let go (a report
    // that takes other locks, or nothing); nullopt: not its pages.
    virtual std::optional<std::function<void()>> claim(const fault_touch& touch) = 0;

protected:
    ~page_watcher() = default;
};

// Keeps a watcher in the registry for as long as it lives. The handler is
// installed with the first registration and removed with the last.
class watch_registration {
public:
    explicit watch_registration(page_watcher& watcher);
    ~watch_registration();
    watch_registration(const watch_registration&) = delete;
    watch_registration& operator=(const watch_registration&) = delete;

    // False when the handler could not be installed: faults on the watcher's
    // pages are then crashes.
    bool active() const { return active_; }

private:
    page_watcher& watcher_;
    bool active_ = false;
};

}  // namespace traps
