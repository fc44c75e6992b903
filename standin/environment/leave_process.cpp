#include "standin/environment/leave_process.h"

#include <windows.h>

#include <cstdio>
#include <iostream>

namespace standin {

void leave_process(int code) {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
    ExitProcess(static_cast<UINT>(code));
}

}  // namespace standin
