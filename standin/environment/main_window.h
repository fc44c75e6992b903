// The simulator's top-level window, which a gauge finds by its class name
// "FS98MAIN". Created hidden; destroyed with this object.
#pragma once
#include <windows.h>

namespace standin {

class main_window {
public:
    main_window();                   // throws std::runtime_error on failure
    ~main_window();
    main_window(const main_window&) = delete;
    main_window& operator=(const main_window&) = delete;

    HWND handle() const { return window_; }

private:
    HWND window_ = nullptr;
};

}  // namespace standin
