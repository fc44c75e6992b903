#include "standin/services/mouse_table.h"

#include <string>

#include "standin/log/value_text.h"

namespace standin {

namespace {
constexpr size_t most_records = 256;   // a table longer than this has lost its end marker

bool contains(int left, int top, int width, int height, int x, int y) {
    return x >= left && x < left + width && y >= top && y < top + height;
}
}  // namespace

std::vector<mouse_record*> mouse_table::records() const {
    std::vector<mouse_record*> list;
    if (!table_) return list;
    for (mouse_record* record = table_; record->kind != mouse_end_of_table; ++record) {
        if (list.size() == most_records) {
            log_.error("mouse table has no end within " + std::to_string(most_records) + " records");
            break;
        }
        list.push_back(record);
    }
    return list;
}

void mouse_table::install(mouse_record* table, gauge_header_record* gauge, const pixel_size* size) {
    if (!table || !size) {
        log_.error("mouse_list_install given no table or no size");
        return;
    }
    table_ = table;
    gauge_ = gauge;
    parent_size_ = *size;
    registered_ = false;
}

void mouse_table::set_registered(mouse_record* table, gauge_header_record* gauge, bool registered) {
    if (!table_ || table != table_ || gauge != gauge_) {
        log_.error(std::string(registered ? "registering" : "unregistering") +
                   " a mouse table that was not installed");
        return;
    }
    if (registered == registered_)
        log_.error(std::string("mouse table already ") + (registered ? "registered" : "unregistered"));
    registered_ = registered;
}

std::vector<mouse_record> mouse_table::hot_spots() const {
    std::vector<mouse_record> spots;
    for (const mouse_record* record : records())
        if (record->kind == mouse_hot_spot) spots.push_back(*record);
    return spots;
}

std::optional<hot_spot_hit> mouse_table::hit_test(int x, int y) const {
    if (!registered_) return std::nullopt;
    bool in_parent = false;
    int detent = 0;
    const std::vector<mouse_record*> list = records();
    for (size_t index = 0; index < list.size(); ++index) {
        const mouse_record& record = *list[index];
        if (record.kind == mouse_parent_area) {
            // A parent area with no box covers the whole gauge.
            const bool whole = record.width == 0 && record.height == 0;
            in_parent = whole ? contains(0, 0, parent_size_.width, parent_size_.height, x, y)
                              : contains(record.x, record.y, record.width, record.height, x, y);
        } else if (record.kind == mouse_end_of_parent) {
            in_parent = false;
        } else if (record.kind == mouse_hot_spot) {
            if (in_parent && (record.event_mask & mouse_left_single) &&
                contains(record.x, record.y, record.width, record.height, x, y))
                return hot_spot_hit{static_cast<int>(index), detent, list[index]};
            ++detent;
        }
    }
    return std::nullopt;
}

int mouse_table::click(int x, int y, const std::function<void()>& after_handler) {
    const std::string where = "click(" + std::to_string(x) + "," + std::to_string(y) + ")";
    if (!registered_) {
        log_.line(where + " -> no mouse table registered");
        return -1;
    }
    const std::optional<hot_spot_hit> hit = hit_test(x, y);
    if (!hit) {
        log_.line(where + " -> no hot spot");
        return -1;
    }
    const std::string detent = "detent " + std::to_string(hit->detent);
    if (!hit->spot->handler) {
        log_.error(where + " hit " + detent + " with no handler");
        return -1;
    }
    log_.line(where + " -> " + detent);
    point_ = {x - hit->spot->x, y - hit->spot->y};
    const uint32_t result = hit->spot->handler(&point_, mouse_left_single);
    after_handler();
    log_.line("  handler returned " + std::to_string(result));
    return hit->record;
}

std::optional<click_point> mouse_table::detent_centre(int k) const {
    const std::vector<mouse_record> spots = hot_spots();
    if (k < 0 || static_cast<size_t>(k) >= spots.size()) return std::nullopt;
    const mouse_record& spot = spots[static_cast<size_t>(k)];
    return click_point{spot.x + spot.width / 2, spot.y + spot.height / 2};
}

}  // namespace standin
