// The module's bitmaps as the host finds them among its resources: which
// there are, their format and palette, and that the art lines up with the
// hot spots the mouse table puts over the plate.
#include <windows.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <optional>
#include <set>
#include <vector>

#include "standin/pictures/dib_reader.h"
#include "tests/module/loaded_module.h"
#include "tests/support/dimmer_layout.h"

namespace {

constexpr uint32_t plate_id = 4096;
constexpr uint32_t first_knob_id = 8192;
constexpr WORD us_english = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
constexpr size_t info_size = 40;
constexpr size_t palette_size = 256 * 4;
constexpr uint8_t black = 0;
constexpr uint8_t white = 120;   // the top of the grey ramp the art is drawn in
constexpr int knob_left = 13;    // where the host puts a knob frame on the plate
constexpr int knob_top = 8;

uint32_t knob_id(int detent) { return first_knob_id + 3 * detent; }

struct bitmap_resource {
    std::vector<uint8_t> bytes;
    BITMAPINFOHEADER info;
    standin::index_picture picture;   // top row first
};

std::vector<uint32_t> all_ids() {
    std::vector<uint32_t> ids = {plate_id};
    for (int k = 0; k < detent_count; ++k) ids.push_back(knob_id(k));
    return ids;
}

BOOL CALLBACK add_language(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR found) {
    reinterpret_cast<std::set<WORD>*>(found)->insert(language);
    return TRUE;
}

BOOL CALLBACK add_name(HMODULE, LPCSTR, LPSTR name, LONG_PTR found) {
    // A named bitmap shows up as id 0, which no expected set contains.
    reinterpret_cast<std::set<uint32_t>*>(found)->insert(
        IS_INTRESOURCE(name) ? static_cast<uint32_t>(reinterpret_cast<uintptr_t>(name)) : 0);
    return TRUE;
}

class module_bitmaps : public loaded_module {
protected:
    // The US English bitmap id with its header parsed; nullopt (and a failure) if absent.
    std::optional<bitmap_resource> bitmap(uint32_t id) {
        HMODULE module = host_.module();
        HRSRC found = FindResourceExA(module, RT_BITMAP, MAKEINTRESOURCEA(id), us_english);
        const void* data = found ? LockResource(LoadResource(module, found)) : nullptr;
        if (!data) {
            ADD_FAILURE() << "bitmap " << id << " in language 0x0409: error " << GetLastError();
            return std::nullopt;
        }
        const auto* first = static_cast<const uint8_t*>(data);
        bitmap_resource resource{{first, first + SizeofResource(module, found)}, {}, {}};
        if (resource.bytes.size() < info_size + palette_size) {
            ADD_FAILURE() << "bitmap " << id << " has only " << resource.bytes.size() << " bytes";
            return std::nullopt;
        }
        std::memcpy(&resource.info, resource.bytes.data(), info_size);
        std::string error;
        std::optional<standin::index_picture> picture =
            standin::parse_dib(resource.bytes.data(), resource.bytes.size(), error);
        if (!picture) {
            ADD_FAILURE() << "bitmap " << id << ": " << error;
            return std::nullopt;
        }
        resource.picture = std::move(*picture);
        return resource;
    }
};

}  // namespace

TEST_F(module_bitmaps, are_the_plate_and_seven_knob_frames_in_us_english_only) {
    std::set<uint32_t> ids;
    EnumResourceNamesA(host_.module(), RT_BITMAP, add_name, reinterpret_cast<LONG_PTR>(&ids));
    const std::vector<uint32_t> expected = all_ids();
    EXPECT_EQ(ids, std::set<uint32_t>(expected.begin(), expected.end()));
    for (uint32_t id : expected) {
        std::set<WORD> languages;
        EnumResourceLanguagesA(host_.module(), RT_BITMAP, MAKEINTRESOURCEA(id), add_language,
                               reinterpret_cast<LONG_PTR>(&languages));
        EXPECT_EQ(languages, std::set<WORD>{us_english}) << "bitmap " << id;
    }
}

struct bitmap_shape {
    uint32_t id;
    int size;        // width and height
    int height;
    size_t bytes;
};

void PrintTo(const bitmap_shape& shape, std::ostream* out) { *out << "bitmap " << shape.id; }

class bitmap_format : public module_bitmaps, public ::testing::WithParamInterface<bitmap_shape> {};

TEST_P(bitmap_format, is_a_bottom_up_8_bit_dib_of_its_size) {
    const bitmap_shape& shape = GetParam();
    const std::optional<bitmap_resource> b = bitmap(shape.id);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->bytes.size(), shape.bytes);
    EXPECT_EQ(b->info.biSize, info_size);
    EXPECT_EQ(b->info.biWidth, shape.size);
    EXPECT_EQ(b->info.biHeight, shape.height);
    EXPECT_EQ(b->info.biPlanes, 1);
    EXPECT_EQ(b->info.biBitCount, 8);
    EXPECT_EQ(b->info.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(b->info.biXPelsPerMeter, 3780);
    EXPECT_EQ(b->info.biYPelsPerMeter, 3780);
}

INSTANTIATE_TEST_SUITE_P(gauge_art, bitmap_format,
                         ::testing::Values(bitmap_shape{plate_id, 60, 42, 3584},
                                           bitmap_shape{knob_id(0), 33, 33, 2252},
                                           bitmap_shape{knob_id(1), 33, 33, 2252},
                                           bitmap_shape{knob_id(2), 33, 33, 2252},
                                           bitmap_shape{knob_id(3), 33, 33, 2252},
                                           bitmap_shape{knob_id(4), 33, 33, 2252},
                                           bitmap_shape{knob_id(5), 33, 33, 2252},
                                           bitmap_shape{knob_id(6), 33, 33, 2252}));

TEST_F(module_bitmaps, share_one_palette_a_grey_ramp_then_marker_colours) {
    const std::optional<bitmap_resource> plate = bitmap(plate_id);
    ASSERT_TRUE(plate);
    for (int k = 0; k < detent_count; ++k) {
        const std::optional<bitmap_resource> knob = bitmap(knob_id(k));
        ASSERT_TRUE(knob);
        EXPECT_EQ(std::memcmp(knob->bytes.data() + info_size, plate->bytes.data() + info_size,
                              palette_size), 0)
            << "knob frame " << k;
    }
    const auto& palette = plate->picture.palette;
    auto rgb = [&](int i) {
        return std::vector<int>{palette[i].red, palette[i].green, palette[i].blue};
    };
    EXPECT_EQ(rgb(black), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(rgb(white), (std::vector<int>{255, 255, 255}));
    for (int i = 1; i <= white; ++i) {
        const std::vector<int> lower = rgb(i - 1), upper = rgb(i);
        EXPECT_TRUE(lower[0] <= upper[0] && lower[1] <= upper[1] && lower[2] <= upper[2] &&
                    lower != upper)
            << "ramp falls or stalls at index " << i;
    }
    EXPECT_EQ(rgb(121), (std::vector<int>{255, 255, 0})) << "yellow";
    const std::vector<int> light_blue = rgb(122);
    EXPECT_TRUE(light_blue[2] == 255 && light_blue[0] < light_blue[2] && light_blue[0] > 64)
        << "light blue: " << light_blue[0] << "," << light_blue[1] << "," << light_blue[2];
    const std::vector<int> green = rgb(123);
    EXPECT_TRUE(green[0] == 0 && green[2] == 0 && green[1] > 64) << "green";
    for (int i = 124; i < 256; ++i) EXPECT_EQ(rgb(i), (std::vector<int>{255, 255, 255})) << i;
}

TEST_F(module_bitmaps, draw_only_in_the_ramp_inside_a_black_border) {
    for (uint32_t id : all_ids()) {
        const std::optional<bitmap_resource> b = bitmap(id);
        ASSERT_TRUE(b);
        const standin::index_picture& p = b->picture;
        std::set<uint8_t> used(p.pixels.begin(), p.pixels.end());
        if (id == plate_id)
            EXPECT_EQ(used, (std::set<uint8_t>{black, white})) << "the plate is black and white";
        else
            EXPECT_LE(*used.rbegin(), white) << "bitmap " << id;
        for (int x = 0; x < p.width; ++x)
            EXPECT_TRUE(p.at(x, 0) == black && p.at(x, p.height - 1) == black)
                << "bitmap " << id << " column " << x;
        for (int y = 0; y < p.height; ++y)
            EXPECT_TRUE(p.at(0, y) == black && p.at(p.width - 1, y) == black)
                << "bitmap " << id << " row " << y;
    }
}

class detent_art : public module_bitmaps, public ::testing::WithParamInterface<int> {};

TEST_P(detent_art, digit_lies_in_the_hot_spot_of_its_mark) {
    const mark_box& box = mark_boxes[GetParam()];
    const std::optional<bitmap_resource> plate = bitmap(plate_id);
    ASSERT_TRUE(plate);
    int lit = 0;
    for (int y = box.y; y < box.y + box.height; ++y)
        for (int x = box.x; x < box.x + box.width; ++x) lit += plate->picture.at(x, y) == white;
    EXPECT_GE(lit, 5) << "white pixels in the box";
}

TEST_P(detent_art, knob_frame_points_at_its_mark) {
    const int k = GetParam();
    const std::optional<bitmap_resource> knob = bitmap(knob_id(k));
    ASSERT_TRUE(knob);
    // The pointer is the brightest thing on the knob away from its centre.
    double sum_x = 0, sum_y = 0;
    int count = 0;
    for (int y = 0; y < knob->picture.height; ++y)
        for (int x = 0; x < knob->picture.width; ++x) {
            const double dx = knob_left + x + 0.5 - knob_axis_x;
            const double dy = knob_top + y + 0.5 - knob_axis_y;
            const double r = std::hypot(dx, dy);
            if (r < 5 || r > 13 || knob->picture.at(x, y) < white * 9 / 10) continue;
            sum_x += dx;
            sum_y += dy;
            ++count;
        }
    ASSERT_GE(count, 3) << "no bright pointer found";
    const mark_box& box = mark_boxes[k];
    const double mark = std::atan2(box.y + box.height / 2.0 - knob_axis_y,
                                   box.x + box.width / 2.0 - knob_axis_x);
    const double off = std::remainder(std::atan2(sum_y, sum_x) - mark, 2 * std::numbers::pi);
    EXPECT_LT(std::abs(off) * 180 / std::numbers::pi, 15.0);
}

INSTANTIATE_TEST_SUITE_P(marks, detent_art, ::testing::Range(0, int{detent_count}));
