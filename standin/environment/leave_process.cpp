#include "standin/environment/leave_process.h"

#include <windows.h>

#include <cstdio>
#include <iostream>

namespace standin {

namespace {

bool under_wine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// Linux's exit_group: every thread ends at once, none of Wine's teardown runs.
// Under qemu's emulator Wine 10's own TerminateProcess crashes in its sound
// threads (qemu: "uncaught target signal 11") after all the work is done.
[[noreturn]] void exit_group(int code) {
    constexpr int exit_group_call = 252;   // i386 system call number
    asm volatile("int $0x80" : : "a"(exit_group_call), "b"(code) : "memory");
    __builtin_unreachable();
}

}  // namespace

void leave_process(int code) {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    if (under_wine()) exit_group(code);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
    ExitProcess(static_cast<UINT>(code));
}

}  // namespace standin
