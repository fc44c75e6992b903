#include "tour.h"

#include <windows.h>

namespace standin {

// Clicks paced as a person makes them, so each click is heard out before the next.
constexpr DWORD click_spacing_ms = 250;

std::vector<index_picture> click_each_hot_spot(host& h) {
    std::vector<index_picture> pictures;
    for (const mouse_record& spot : h.mouse().hot_spots()) {
        h.click(spot.x + spot.width / 2, spot.y + spot.height / 2);
        h.frame();
        pictures.push_back(h.picture());
        Sleep(click_spacing_ms);
    }
    return pictures;
}

std::vector<std::vector<index_picture>> tour(host& h) {
    std::vector<std::vector<index_picture>> rows;
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 1) h.set_panel_lights(h.panel_lights() != 0.0 ? 0.0 : 1.0);
        h.install();
        h.initialize();
        rows.push_back(click_each_hot_spot(h));
        h.kill();
    }
    return rows;
}

}  // namespace standin
