// A page of host memory lent to the module, on which every write is noticed,
// even one that stores the value already there: the page stays read-only, a
// write faults, and the process's fault handler (see guarded_pages.h) lets
// it through and notes it.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "standin/traps/guarded_pages.h"

namespace standin {

class write_trap : private traps::page_watcher {
public:
    write_trap();
    ~write_trap();
    write_trap(const write_trap&) = delete;
    write_trap& operator=(const write_trap&) = delete;

    // The watched bytes: 4 KiB, writable by the host until the first take_write().
    uint8_t* bytes() { return page_; }
    const uint8_t* bytes() const { return page_; }
    static constexpr std::size_t size = 4096;

    // Whether the module wrote since the page was last armed; arms it again.
    // Writes made between a first one and this call count as that one.
    bool take_write();

private:
    // A write to the page: noted, and the page made writable.
    std::optional<std::function<void()>> claim(const traps::fault_touch& touch) override;
    void arm();

    uint8_t* page_;
    volatile bool written_ = false;
    traps::watch_registration registration_{*this};  // last: made once the page is
};

}  // namespace standin
