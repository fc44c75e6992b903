// A page of host memory lent to the module, on which every write is noticed,
// even one that stores the value already there: the page stays read-only, a
// write faults, and the fault handler lets it through and notes it.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace standin {

class write_trap {
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
    static LONG CALLBACK on_exception(EXCEPTION_POINTERS* info);
    void arm();

    uint8_t* page_;
    void* handler_;
    volatile bool written_ = false;
};

}  // namespace standin
