#include "standin/program/tour.h"

#include <windows.h>

namespace standin {

// Clicks paced as a person makes them, so each click is heard out before the next.
constexpr DWORD click_spacing_ms = 250;

std::vector<index_picture> click_each_hot_spot(host& h) {
    std::vector<index_picture> pictures;
    const int detents = static_cast<int>(h.mouse().hot_spots().size());
    for (int k = 0; k < detents; ++k) {
        h.click_detent(k);
        h.frame();
        pictures.push_back(h.picture());
        Sleep(click_spacing_ms);
    }
    return pictures;
}

std::vector<std::vector<index_picture>> tour(host& h) {
    std::vector<std::vector<index_picture>> rows;
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 1) h.switch_panel_lights();
        h.install();
        h.initialize();
        rows.push_back(click_each_hot_spot(h));
        h.kill();
    }
    return rows;
}

}  // namespace standin
