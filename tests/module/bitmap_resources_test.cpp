// The plate and knob-frame bitmaps the module carries: format, colour
// table, and what each picture shows.
#include <windows.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <set>

#include "dib_image.h"
#include "dimmer_layout.h"
#include "loaded_module.h"

namespace {

constexpr uint32_t plate_id = 4096;
constexpr uint32_t first_frame_id = 8192;
constexpr uint32_t frame_id(int k) { return first_frame_id + 3 * k; }
constexpr WORD us_english = 0x0409;
constexpr size_t info_size = 40;
constexpr size_t colour_table_size = 256 * 4;
constexpr uint8_t white = 120;

struct bitmap_case {
    uint32_t id;
    int width;
    int height;
    size_t bytes;
};

void PrintTo(const bitmap_case& c, std::ostream* out) { *out << "bitmap " << c.id; }

std::vector<bitmap_case> all_bitmaps() {
    std::vector<bitmap_case> list = {{plate_id, 60, 42, 3584}};
    for (int k = 0; k < detent_count; ++k) list.push_back({frame_id(k), 33, 33, 2252});
    return list;
}

class module_bitmaps : public loaded_module {
protected:
    // The bytes of bitmap id in US English; empty when there is none.
    std::vector<uint8_t> raw(uint32_t id) {
        HRSRC found = FindResourceExA(host_.module(), RT_BITMAP, MAKEINTRESOURCEA(id), us_english);
        if (!found) return {};
        HGLOBAL loaded = LoadResource(host_.module(), found);
        const auto* bytes = static_cast<const uint8_t*>(loaded ? LockResource(loaded) : nullptr);
        if (!bytes) return {};
        return {bytes, bytes + SizeofResource(host_.module(), found)};
    }

    standin::index_picture picture(uint32_t id) {
        const std::vector<uint8_t> bytes = raw(id);
        std::string error;
        std::optional<standin::index_picture> parsed = standin::parse_dib(bytes.data(), bytes.size(), error);
        if (!parsed) ADD_FAILURE() << "bitmap " << id << ": " << error;
        return parsed.value_or(standin::index_picture{});
    }
};

BOOL CALLBACK add_name(HMODULE, LPCSTR, LPSTR name, LONG_PTR names) {
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::set<uint32_t>*>(names)->insert(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(name)));
    else
        reinterpret_cast<std::set<uint32_t>*>(names)->insert(0);   // a named bitmap: none belongs here
    return TRUE;
}

bool same_colour(const standin::palette_entry& a, int red, int green, int blue) {
    return a.red == red && a.green == green && a.blue == blue;
}

int brightness(const standin::palette_entry& c) { return c.red + c.green + c.blue; }

}  // namespace

TEST_F(module_bitmaps, are_exactly_the_plate_and_seven_frames) {
    std::set<uint32_t> names;
    ASSERT_TRUE(EnumResourceNamesA(host_.module(), RT_BITMAP, add_name, reinterpret_cast<LONG_PTR>(&names)));
    std::set<uint32_t> expected = {plate_id};
    for (int k = 0; k < detent_count; ++k) expected.insert(frame_id(k));
    EXPECT_EQ(names, expected);
    EXPECT_EQ(FindResourceA(host_.module(), MAKEINTRESOURCEA(first_frame_id + 1), RT_BITMAP), nullptr);
}

class each_bitmap : public module_bitmaps, public ::testing::WithParamInterface<bitmap_case> {};

TEST_P(each_bitmap, is_an_8_bit_bottom_up_dib_with_a_full_colour_table) {
    const bitmap_case& c = GetParam();
    const std::vector<uint8_t> bytes = raw(c.id);
    ASSERT_EQ(bytes.size(), c.bytes);
    BITMAPINFOHEADER info;
    std::memcpy(&info, bytes.data(), sizeof info);
    EXPECT_EQ(info.biSize, info_size);
    EXPECT_EQ(info.biWidth, c.width);
    EXPECT_EQ(info.biHeight, c.height);
    EXPECT_EQ(info.biPlanes, 1);
    EXPECT_EQ(info.biBitCount, 8);
    EXPECT_EQ(info.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(info.biXPelsPerMeter, 3780);
    EXPECT_EQ(info.biYPelsPerMeter, 3780);
    EXPECT_TRUE(info.biClrUsed == 0 || info.biClrUsed == 256) << info.biClrUsed;
    const size_t stride = (static_cast<size_t>(c.width) + 3) & ~size_t{3};
    EXPECT_EQ(bytes.size(), info_size + colour_table_size + stride * c.height);
}

TEST_P(each_bitmap, draws_in_the_grey_ramp_with_black_corners) {
    const bitmap_case& c = GetParam();
    const standin::index_picture p = picture(c.id);
    ASSERT_EQ(p.width, c.width);
    ASSERT_EQ(p.height, c.height);
    for (size_t i = 0; i < p.pixels.size(); ++i)
        ASSERT_LE(p.pixels[i], white) << "pixel (" << i % p.width << "," << i / p.width << ")";
    EXPECT_EQ(p.at(0, 0), 0);
    EXPECT_EQ(p.at(p.width - 1, 0), 0);
    EXPECT_EQ(p.at(0, p.height - 1), 0);
    EXPECT_EQ(p.at(p.width - 1, p.height - 1), 0);
}

INSTANTIATE_TEST_SUITE_P(plate_and_frames, each_bitmap, ::testing::ValuesIn(all_bitmaps()),
                         [](const auto& info) { return std::to_string(info.param.id); });

TEST_F(module_bitmaps, share_one_colour_table) {
    const std::vector<uint8_t> plate = raw(plate_id);
    ASSERT_GE(plate.size(), info_size + colour_table_size);
    for (int k = 0; k < detent_count; ++k) {
        const std::vector<uint8_t> frame = raw(frame_id(k));
        ASSERT_GE(frame.size(), info_size + colour_table_size);
        EXPECT_TRUE(std::equal(plate.begin() + info_size, plate.begin() + info_size + colour_table_size,
                               frame.begin() + info_size))
            << "frame " << k;
    }
}

TEST_F(module_bitmaps, colour_table_is_a_ramp_to_white_then_marker_colours) {
    const auto& colours = picture(plate_id).palette;
    EXPECT_TRUE(same_colour(colours[0], 0, 0, 0));
    EXPECT_TRUE(same_colour(colours[white], 255, 255, 255));
    for (int i = 1; i <= white; ++i) {
        EXPECT_GE(colours[i].red, colours[i - 1].red) << i;
        EXPECT_GE(colours[i].green, colours[i - 1].green) << i;
        EXPECT_GE(colours[i].blue, colours[i - 1].blue) << i;
        EXPECT_GT(brightness(colours[i]), brightness(colours[i - 1])) << i;
    }
    const standin::palette_entry& yellow = colours[121];
    EXPECT_TRUE(same_colour(yellow, 255, 255, 0));
    const standin::palette_entry& light_blue = colours[122];
    EXPECT_EQ(light_blue.blue, 255);
    EXPECT_GT(light_blue.red, 100);
    EXPECT_LT(light_blue.red, light_blue.blue);
    EXPECT_GT(light_blue.green, 100);
    EXPECT_LT(light_blue.green, light_blue.blue);
    const standin::palette_entry& green = colours[123];
    EXPECT_EQ(green.red, 0);
    EXPECT_EQ(green.blue, 0);
    EXPECT_GE(green.green, 128);
    for (int i = 124; i < 256; ++i) EXPECT_TRUE(same_colour(colours[i], 255, 255, 255)) << i;
}

TEST_F(module_bitmaps, plate_is_black_and_white_with_a_digit_in_each_box) {
    const standin::index_picture plate = picture(plate_id);
    ASSERT_EQ(plate.pixels.size(), 60u * 42u);
    for (size_t i = 0; i < plate.pixels.size(); ++i)
        ASSERT_TRUE(plate.pixels[i] == 0 || plate.pixels[i] == white)
            << "pixel (" << i % 60 << "," << i / 60 << ") is " << int(plate.pixels[i]);
    for (int k = 0; k < detent_count; ++k) {
        const mark_box& box = mark_boxes[k];
        int lit = 0;
        for (int y = box.y; y < box.y + box.height; ++y)
            for (int x = box.x; x < box.x + box.width; ++x) lit += plate.at(x, y) == white;
        EXPECT_GT(lit, 0) << "box " << k;
    }
}

class knob_frame : public module_bitmaps, public ::testing::WithParamInterface<int> {};

// The pointer is the brightest thing on the knob: brighter than any lit
// metal. Its pixels away from the axis show where it aims.
TEST_P(knob_frame, pointer_aims_at_its_mark) {
    const int k = GetParam();
    const standin::index_picture frame = picture(frame_id(k));
    ASSERT_EQ(frame.width, 33);
    constexpr double centre = 33 / 2.0;
    constexpr int pointer_level = 105;
    double sum_x = 0, sum_y = 0;
    int count = 0;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x) {
            const double dx = x + 0.5 - centre, dy = y + 0.5 - centre;
            if (frame.at(x, y) < pointer_level || std::hypot(dx, dy) < 5) continue;
            sum_x += dx;
            sum_y += dy;
            ++count;
        }
    ASSERT_GT(count, 2);
    const mark_box& box = mark_boxes[k];
    const double mark_x = box.x + box.width / 2.0 - knob_axis_x;
    const double mark_y = box.y + box.height / 2.0 - knob_axis_y;
    double difference = std::abs(std::atan2(sum_y, sum_x) - std::atan2(mark_y, mark_x)) * 180 / std::numbers::pi;
    if (difference > 180) difference = 360 - difference;
    EXPECT_LT(difference, 15.0);
}

INSTANTIATE_TEST_SUITE_P(detents, knob_frame, ::testing::Range(0, detent_count));
