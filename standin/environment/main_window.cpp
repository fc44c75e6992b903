#include "standin/environment/main_window.h"

#include <cstdio>
#include <stdexcept>
#include <string>

namespace standin {

namespace {
constexpr const char* class_name = "FS98MAIN";
}

main_window::main_window() {
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = DefWindowProcA;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.lpszClassName = class_name;
    if (!RegisterClassA(&window_class))
        throw std::runtime_error("cannot register window class FS98MAIN (error " +
                                 std::to_string(GetLastError()) + ")");
    window_ = CreateWindowExA(0, class_name, "Stand-in host", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, 640, 480, nullptr, nullptr, window_class.hInstance,
                              nullptr);
    if (!window_) {
        const DWORD error = GetLastError();
        UnregisterClassA(class_name, window_class.hInstance);
        throw std::runtime_error("cannot create the FS98MAIN window (error " +
                                 std::to_string(error) + ")");
    }
}

main_window::~main_window() {
    if (!DestroyWindow(window_) || !UnregisterClassA(class_name, GetModuleHandleA(nullptr)))
        std::fprintf(stderr, "standin: FS98MAIN window not torn down (error %lu)\n", GetLastError());
}

}  // namespace standin
