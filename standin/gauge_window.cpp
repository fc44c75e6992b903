#include "gauge_window.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "scaled_paint.h"
#include "status_line.h"

namespace standin {

namespace {

constexpr UINT_PTR cycle_timer = 1;
constexpr UINT cycle_ms = 1000 / 18;
constexpr int least_client_width = 400;   // room for the status line
constexpr int status_height = 40;         // two lines of the GUI font, with margins
constexpr int status_margin = 4;
constexpr int brightest_detent = 6;
constexpr LPARAM key_was_down = 1 << 30;   // WM_KEYDOWN of a key held down: a repeat

gauge_window* attached(HWND window) {
    return reinterpret_cast<gauge_window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

}  // namespace

gauge_window::gauge_window(host& h, const module_watch& watch, int scale)
    : host_(h), watch_(watch), scale_(scale), window_(h.main_window_handle()) {
    if (!window_) throw std::logic_error("the host has no main window to show");
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    host_procedure_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&procedure)));
    if (!host_procedure_) {
        SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        throw std::runtime_error("cannot take over the FS98MAIN window (error " +
                                 std::to_string(GetLastError()) + ")");
    }
}

gauge_window::~gauge_window() {
    KillTimer(window_, cycle_timer);
    ShowWindow(window_, SW_HIDE);
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(host_procedure_));
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
}

int gauge_window::gauge_width() const { return host_.picture().width * scale_; }
int gauge_window::gauge_height() const { return host_.picture().height * scale_; }

bool gauge_window::run() {
    try {
        show();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "standin: %s\n", e.what());
        return false;
    }
    MSG message;
    BOOL got;
    while ((got = GetMessageA(&message, nullptr, 0, 0)) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (got < 0) {
        std::fprintf(stderr, "standin: GetMessage failed (error %lu)\n", GetLastError());
        return false;
    }
    return !failed_;
}

void gauge_window::show() {
    cycle();
    const char* title = host_.gauge()->title;
    if (!SetWindowTextA(window_, title ? title : "stand-in host"))
        throw std::runtime_error("cannot set the window's title");
    RECT frame{0, 0, std::max(gauge_width(), least_client_width),
               gauge_height() + 2 * scale_ + status_height};
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_STYLE));
    const DWORD ex_style = static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_EXSTYLE));
    if (!AdjustWindowRectEx(&frame, style, FALSE, ex_style) ||
        !SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                      SWP_NOMOVE | SWP_NOZORDER))
        throw std::runtime_error("cannot size the window (error " + std::to_string(GetLastError()) + ")");
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
    if (!SetTimer(window_, cycle_timer, cycle_ms, nullptr))
        throw std::runtime_error("cannot start the 18 Hz timer (error " + std::to_string(GetLastError()) + ")");
    POINT origin{0, 0};
    ClientToScreen(window_, &origin);
    host_.note("window: gauge at screen " + std::to_string(origin.x) + "," + std::to_string(origin.y) +
               ", " + std::to_string(scale_) + " screen pixels a gauge pixel");
}

LRESULT CALLBACK gauge_window::procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    gauge_window* self = attached(window);
    if (!self) return DefWindowProcA(window, message, w, l);
    try {
        return self->handle(message, w, l);
    } catch (const std::exception& e) {
        // Nothing may unwind through the system's frames: stop the run instead.
        std::fprintf(stderr, "standin: %s\n", e.what());
        self->failed_ = true;
        PostQuitMessage(1);
        return 0;
    }
}

LRESULT gauge_window::handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_TIMER:
        if (w != cycle_timer) break;
        cycle();
        return 0;
    case WM_PAINT:
        paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;   // paint() covers the whole client area
    case WM_SETCURSOR:
        if (LOWORD(l) != HTCLIENT) break;
        set_cursor();
        return TRUE;
    case WM_LBUTTONDOWN:
        press(GET_X_LPARAM(l), GET_Y_LPARAM(l));
        return 0;
    case WM_KEYDOWN:
        if (w == 'L' && !(l & key_was_down)) reopen_with_other_lights();
        if (w == VK_ESCAPE) PostMessageA(window_, WM_CLOSE, 0, 0);
        return 0;
    case WM_CLOSE:
        // The host destroys the window once the gauge, whose sound device
        // belongs to it, is gone.
        PostQuitMessage(0);
        return 0;
    }
    return CallWindowProcA(host_procedure_, window_, message, w, l);
}

void gauge_window::cycle() {
    host_.frame();
    const std::string status = status_text(host_, watch_.clips_started());
    if (status == status_ && host_.picture().pixels == shown_pixels_) return;
    if (status != status_) {
        std::string line = status;
        line.replace(line.find('\n'), 1, "; ");
        host_.note("status: " + line);
    }
    status_ = status;
    shown_pixels_ = host_.picture().pixels;
    InvalidateRect(window_, nullptr, FALSE);
}

void gauge_window::paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    if (!dc) throw std::runtime_error("cannot paint the window");
    RECT client;
    GetClientRect(window_, &client);
    const bool drawn = paint_scaled(dc, host_.picture(), scale_);
    RECT right_of_gauge{gauge_width(), 0, client.right, gauge_height()};
    FillRect(dc, &right_of_gauge, GetSysColorBrush(COLOR_BTNFACE));
    // The panel's light at the level the gauge published: dim at 0, full at 6.
    const int level = std::min<int>(host_.ligar_byte(), brightest_detent);
    auto shade = [level](int dim, int full) { return dim + (full - dim) * level / brightest_detent; };
    HBRUSH light = CreateSolidBrush(RGB(shade(40, 255), shade(34, 214), shade(26, 140)));
    RECT strip{0, gauge_height(), client.right, gauge_height() + 2 * scale_};
    if (light) {
        FillRect(dc, &strip, light);
        DeleteObject(light);
    }
    RECT status{0, strip.bottom, client.right, client.bottom};
    FillRect(dc, &status, GetSysColorBrush(COLOR_BTNFACE));
    InflateRect(&status, -status_margin, -status_margin);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawTextA(dc, status_.c_str(), static_cast<int>(status_.size()), &status, DT_LEFT | DT_TOP | DT_NOPREFIX);
    EndPaint(window_, &paint);
    if (!drawn) throw std::runtime_error("cannot draw the gauge's picture in the window");
}

void gauge_window::press(int x, int y) {
    if (x < 0 || y < 0 || x >= gauge_width() || y >= gauge_height()) return;   // not on the gauge
    host_.click(x / scale_, y / scale_);
}

void gauge_window::set_cursor() {
    POINT point;
    std::optional<hot_spot_hit> hit;
    if (GetCursorPos(&point) && ScreenToClient(window_, &point) && point.x >= 0 && point.y >= 0 &&
        point.x < gauge_width() && point.y < gauge_height())
        hit = host_.mouse().hit_test(point.x / scale_, point.y / scale_);
    const bool hand = hit && hit->spot->cursor == cursor_hand;
    SetCursor(LoadCursorA(nullptr, hand ? IDC_HAND : IDC_ARROW));
    const std::string told = hand ? "cursor: hand over detent " + std::to_string(hit->detent) : "cursor: arrow";
    if (told != cursor_told_) host_.note(told);
    cursor_told_ = told;
}

void gauge_window::reopen_with_other_lights() {
    host_.kill();
    host_.switch_panel_lights();
    host_.install();
    host_.initialize();
}

}  // namespace standin
