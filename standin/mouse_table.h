// The host's side of a gauge's mouse table: the table given at install, the
// registration that makes its hot spots live, and hit-testing of clicks.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "call_log.h"
#include "host/gauge_header_record.h"
#include "host/mouse_record.h"

namespace standin {

// The point a hot spot's handler receives: the click relative to the hot spot's box.
struct click_point {
    int32_t x;
    int32_t y;
};

class mouse_table {
public:
    explicit mouse_table(call_log& log) : log_(log) {}

    void install(mouse_record* table, gauge_header_record* gauge, const pixel_size* size);
    void set_registered(mouse_record* table, gauge_header_record* gauge, bool registered);

    // Calls the first live left-press hot spot containing (x, y), in gauge
    // pixels, then after_handler. Returns the record's index, or -1.
    int click(int x, int y, const std::function<void()>& after_handler);

    mouse_record* table() const { return table_; }
    bool registered() const { return registered_; }
    pixel_size parent_size() const { return parent_size_; }
    std::vector<mouse_record> hot_spots() const;    // the installed table's kind-2 records

private:
    std::vector<mouse_record*> records() const;     // up to the end of table

    call_log& log_;
    mouse_record* table_ = nullptr;
    gauge_header_record* gauge_ = nullptr;
    pixel_size parent_size_{0, 0};
    bool registered_ = false;
    click_point point_{0, 0};
};

}  // namespace standin
