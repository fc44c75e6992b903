// Footprint: the module's file size against the floor module's.
#include <filesystem>
#include <string>

#include "bench/figures.h"

void measure_footprint(const std::string& gauge_file, const std::string& floor_file, figures& out) {
    const auto size = std::filesystem::file_size(gauge_file);
    const auto floor = std::filesystem::file_size(floor_file);
    const double ratio = double(size) / double(floor);
    out.push_back({"size of panel_dimmer.gau", std::to_string(size) + " bytes", "< 40960 bytes", size < 40960});
    out.push_back({"size of the floor module", std::to_string(floor) + " bytes", "", true});
    out.push_back({"size, module / floor", fixed_text(ratio, 2) + "x", "<= 1.50x", ratio <= 1.5});
}
