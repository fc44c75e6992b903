// The gauge's art as the host loaded it at install: one palette, drawn only
// in its grey ramp inside a black border, and lined up with the hot spots
// of the mouse table the module handed over.
#include <cmath>
#include <cstring>
#include <numbers>
#include <set>

#include "tests/gauge/gauge_session.h"

namespace {

constexpr uint8_t black = 0;
constexpr uint8_t white = 120;   // the top of the grey ramp the art is drawn in

class gauge_art : public open_gauge {
protected:
    const standin::index_picture& plate_bitmap() { return loaded_frame(&plate()->header, 0); }
    const standin::index_picture& knob_frame(int k) { return loaded_frame(&knob()->header, k); }
};

std::vector<int> rgb(const standin::index_picture& p, int i) {
    return {p.palette[i].red, p.palette[i].green, p.palette[i].blue};
}

}  // namespace

TEST_F(gauge_art, shares_one_palette_a_grey_ramp_then_marker_colours) {
    const standin::index_picture& plate = plate_bitmap();
    for (int k = 0; k < detent_count; ++k)
        EXPECT_EQ(std::memcmp(knob_frame(k).palette.data(), plate.palette.data(), sizeof plate.palette), 0)
            << "knob frame " << k;
    EXPECT_EQ(rgb(plate, black), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(rgb(plate, white), (std::vector<int>{255, 255, 255}));
    for (int i = 1; i <= white; ++i) {
        const std::vector<int> lower = rgb(plate, i - 1), upper = rgb(plate, i);
        EXPECT_TRUE(lower[0] <= upper[0] && lower[1] <= upper[1] && lower[2] <= upper[2] &&
                    lower != upper)
            << "ramp falls or stalls at index " << i;
    }
    EXPECT_EQ(rgb(plate, 121), (std::vector<int>{255, 255, 0})) << "yellow";
    const std::vector<int> light_blue = rgb(plate, 122);
    EXPECT_TRUE(light_blue[2] == 255 && light_blue[0] < light_blue[2] && light_blue[0] > 64)
        << "light blue: " << light_blue[0] << "," << light_blue[1] << "," << light_blue[2];
    const std::vector<int> green = rgb(plate, 123);
    EXPECT_TRUE(green[0] == 0 && green[2] == 0 && green[1] > 64) << "green";
    for (int i = 124; i < 256; ++i) EXPECT_EQ(rgb(plate, i), (std::vector<int>{255, 255, 255})) << i;
}

TEST_F(gauge_art, draws_only_in_the_ramp_inside_a_black_border) {
    std::vector<const standin::index_picture*> all = {&plate_bitmap()};
    for (int k = 0; k < detent_count; ++k) all.push_back(&knob_frame(k));
    for (const standin::index_picture* p : all) {
        std::set<uint8_t> used(p->pixels.begin(), p->pixels.end());
        if (p == all[0])
            EXPECT_EQ(used, (std::set<uint8_t>{black, white})) << "the plate is black and white";
        else
            EXPECT_LE(*used.rbegin(), white);
        for (int x = 0; x < p->width; ++x)
            EXPECT_TRUE(p->at(x, 0) == black && p->at(x, p->height - 1) == black) << "column " << x;
        for (int y = 0; y < p->height; ++y)
            EXPECT_TRUE(p->at(0, y) == black && p->at(p->width - 1, y) == black) << "row " << y;
    }
}

class detent_art : public gauge_art, public ::testing::WithParamInterface<int> {};

TEST_P(detent_art, digit_lies_in_the_hot_spot_of_its_mark) {
    const mouse_record box = spot(GetParam());
    int lit = 0;
    for (int y = box.y; y < box.y + box.height; ++y)
        for (int x = box.x; x < box.x + box.width; ++x) lit += plate_bitmap().at(x, y) == white;
    EXPECT_GE(lit, 5) << "white pixels in the box";
}

// The knob turns about the centre of its frame, placed where the knob element says.
TEST_P(detent_art, knob_frame_points_at_its_mark) {
    const int k = GetParam();
    const standin::index_picture& frame = knob_frame(k);
    // The pointer is the brightest thing on the knob away from its centre.
    double sum_x = 0, sum_y = 0;
    int count = 0;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x) {
            const double dx = x + 0.5 - frame.width / 2.0;
            const double dy = y + 0.5 - frame.height / 2.0;
            const double r = std::hypot(dx, dy);
            if (r < 5 || r > 13 || frame.at(x, y) < white * 9 / 10) continue;
            sum_x += dx;
            sum_y += dy;
            ++count;
        }
    ASSERT_GE(count, 3) << "no bright pointer found";
    const mouse_record box = spot(k);
    const double axis_x = knob()->header.x + frame.width / 2.0;
    const double axis_y = knob()->header.y + frame.height / 2.0;
    const double mark = std::atan2(box.y + box.height / 2.0 - axis_y, box.x + box.width / 2.0 - axis_x);
    const double off = std::remainder(std::atan2(sum_y, sum_x) - mark, 2 * std::numbers::pi);
    EXPECT_LT(std::abs(off) * 180 / std::numbers::pi, 15.0);
}

INSTANTIATE_TEST_SUITE_P(marks, detent_art, ::testing::Range(0, int{detent_count}));
