// The host's side of a gauge's mouse table: the table given at install, the
// registration that makes its hot spots live, and hit-testing of clicks.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "host/gauge_header_record.h"
#include "host/mouse_record.h"
#include "standin/log/call_log.h"

namespace standin {

// The point a hot spot's handler receives: the click relative to the hot spot's box.
struct click_point {
    int32_t x;
    int32_t y;
};

// A live left-press hot spot under a point: its record's index in the
// table and its detent, the hot spot's place among the table's hot spots.
struct hot_spot_hit {
    int record;
    int detent;
    const mouse_record* spot;
};

class mouse_table {
public:
    explicit mouse_table(call_log& log) : log_(log) {}

    void install(mouse_record* table, gauge_header_record* gauge, const pixel_size* size);
    void set_registered(mouse_record* table, gauge_header_record* gauge, bool registered);

    // The first live left-press hot spot of the registered table containing
    // (x, y), in gauge pixels: what a press there reaches, and what the
    // cursor shows over it.
    std::optional<hot_spot_hit> hit_test(int x, int y) const;
    // Calls the handler of hit_test's hot spot, then after_handler. Returns
    // the record's index, or -1.
    int click(int x, int y, const std::function<void()>& after_handler);
    // The centre of detent k's box, or nullopt when the table has no hot spot k.
    std::optional<click_point> detent_centre(int k) const;

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
