// The host's FS98MAIN window shown for a person to play with the gauge: the
// picture enlarged `scale` times (gauge pixel (x, y) at (x·scale, y·scale) of
// the client area), a strip lit as the "ligar" level would light the panel,
// and a status line. The host's cycle (update, generate, draw) runs on a
// timer at 18 Hz, as the era's simulator refreshes its panels. The mouse
// works as in the simulator: hand cursor over a hot spot, a left press there
// goes through the host's hit test to the hot spot's handler. L switches the
// panel lights and re-opens the gauge (kill, install, initialize); Esc or
// closing the window ends the run.
#pragma once
#include <windows.h>

#include <functional>
#include <cstdint>
#include <string>
#include <vector>

#include "standin/host/standin_host.h"
#include "standin/program/ledger_report.h"

namespace standin {

class window_run {
public:
    // Takes over the host's main window; the gauge is installed and initialized.
    window_run(host& h, const ledger_report& report, int scale);
    ~window_run();                 // gives the window back to the host, hidden
    window_run(const window_run&) = delete;
    window_run& operator=(const window_run&) = delete;

    // Shows the window and runs until it is closed. False when something
    // failed inside (already printed).
    bool run();

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT handle(UINT message, WPARAM w, LPARAM l);
    void show();
    void cycle();                    // a frame; repainted when the picture or the status changed
    void paint();
    // The whole client area; false when the gauge's picture could not be drawn.
    bool paint_content(HDC dc, const RECT& client) const;
    void press(int x, int y);
    void set_cursor();
    void reopen_with_other_lights();
    int gauge_width() const;
    int gauge_height() const;

    host& host_;
    const ledger_report& report_;
    const int scale_;
    HWND window_;
    WNDPROC host_procedure_ = nullptr;
    std::string status_;             // as shown, and as last logged
    std::vector<uint8_t> shown_pixels_;   // the picture as shown
    std::string cursor_told_;        // the last cursor line logged
    bool failed_ = false;
};

}  // namespace standin
