#include "standin/program/window_run.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <stdexcept>

#include "standin/pictures/scaled_paint.h"
#include "standin/program/status_line.h"

namespace standin {

namespace {

constexpr UINT_PTR cycle_timer = 1;
constexpr UINT cycle_ms = 1000 / 18;
constexpr int least_client_width = 400;   // room for the status line
constexpr int status_height = 40;         // two lines of the GUI font, with margins
constexpr int status_margin = 4;
constexpr int brightest_detent = 6;
constexpr LPARAM key_was_down = 1 << 30;   // WM_KEYDOWN of a key held down: a repeat

// Puts back what was selected into a device context before.
class selected_object {
public:
    selected_object(HDC dc, HGDIOBJ object) : dc_(dc), before_(SelectObject(dc, object)) {}
    ~selected_object() {
        if (before_ && before_ != HGDI_ERROR) SelectObject(dc_, before_);
    }
    selected_object(const selected_object&) = delete;
    selected_object& operator=(const selected_object&) = delete;

private:
    HDC dc_;
    HGDIOBJ before_;
};

void filled(HDC dc, const RECT& area, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    if (!brush) return;
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

window_run* attached(HWND window) {
    return reinterpret_cast<window_run*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

}  // namespace

window_run::window_run(host& h, const ledger_report& report, int scale)
    : host_(h), report_(report), scale_(scale), window_(h.main_window_handle()) {
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

window_run::~window_run() {
    KillTimer(window_, cycle_timer);
    ShowWindow(window_, SW_HIDE);
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(host_procedure_));
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
}

int window_run::gauge_width() const { return host_.picture().width * scale_; }
int window_run::gauge_height() const { return host_.picture().height * scale_; }

bool window_run::run() {
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

void window_run::show() {
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

LRESULT CALLBACK window_run::procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    window_run* self = attached(window);
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

LRESULT window_run::handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_TIMER:
        if (w != cycle_timer) break;
        cycle();
        return 0;
    case WM_PAINT:
        paint();
        return 0;
    case WM_PRINTCLIENT: {
        RECT client;
        GetClientRect(window_, &client);
        paint_content(reinterpret_cast<HDC>(w), client);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;   // paint_content() covers the whole client area
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
    default:
        break;
    }
    return CallWindowProcA(host_procedure_, window_, message, w, l);
}

void window_run::cycle() {
    host_.frame();
    const std::string status = status_text(host_, report_.clips_started());
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

void window_run::paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    if (!dc) throw std::runtime_error("cannot paint the window");
    RECT client;
    GetClientRect(window_, &client);
    const bool drawn = paint_content(dc, client);
    EndPaint(window_, &paint);
    if (!drawn) throw std::runtime_error("cannot draw the gauge's picture in the window");
}

bool window_run::paint_content(HDC dc, const RECT& client) const {
    const index_picture& picture = host_.picture();
    const bool drawn = paint_scaled(dc, picture, scale_);
    // Where the status line is wider than the gauge, the panel goes on beside
    // it in the colour of the plate's edge.
    if (client.right > gauge_width() && !picture.pixels.empty()) {
        const palette_entry edge = picture.palette[picture.at(picture.width - 1, 0)];
        filled(dc, {gauge_width(), 0, client.right, gauge_height()}, RGB(edge.red, edge.green, edge.blue));
    }
    // The panel's light at the level the gauge published: dim at 0, full at 6.
    const int level = std::min<int>(host_.ligar_byte(), brightest_detent);
    auto shade = [level](int dim, int full) { return dim + (full - dim) * level / brightest_detent; };
    const RECT strip{0, gauge_height(), client.right, gauge_height() + 2 * scale_};
    filled(dc, strip, RGB(shade(40, 255), shade(34, 214), shade(26, 140)));
    RECT status{0, strip.bottom, client.right, client.bottom};
    FillRect(dc, &status, GetSysColorBrush(COLOR_BTNFACE));
    InflateRect(&status, -status_margin, -status_margin);
    const selected_object font(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawTextA(dc, status_.c_str(), static_cast<int>(status_.size()), &status, DT_LEFT | DT_TOP | DT_NOPREFIX);
    return drawn;
}

void window_run::press(int x, int y) {
    if (x < 0 || y < 0 || x >= gauge_width() || y >= gauge_height()) return;   // not on the gauge
    host_.click(x / scale_, y / scale_);
}

void window_run::set_cursor() {
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

void window_run::reopen_with_other_lights() {
    host_.kill();
    host_.switch_panel_lights();
    host_.install();
    host_.initialize();
}

}  // namespace standin
