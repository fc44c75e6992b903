// Clicking a mark turns the knob to its detent, publishes it to "ligar" and
// sends one key event; clicks elsewhere do nothing.
#include <string>
#include <utility>
#include <vector>

#include "tests/gauge/gauge_session.h"

namespace {

struct detent_case {
    int k;
    bool full_environment;   // FS98MAIN window, so the click sound plays too
};

// Named by its fields, not its bytes (padding would make the name vary).
void PrintTo(const detent_case& c, std::ostream* out) {
    *out << "detent " << c.k << (c.full_environment ? " with sound" : " without the main window");
}

class detent : public gauge_session, public ::testing::WithParamInterface<detent_case> {
protected:
    void SetUp() override {
        standin::host_options options = GetParam().full_environment ? standin::host_options{} : without_main_window();
        options.ligar_initial = ligar_unset;
        start(options);
        open();
    }

    // Index of the first log line at or after from that starts with text.
    size_t line_index(const std::string& text, size_t from = 0) {
        const std::vector<std::string>& lines = h().log_lines();
        for (size_t i = from; i < lines.size(); ++i)
            if (lines[i].rfind(text, 0) == 0) return i;
        return lines.size();
    }
};

std::vector<detent_case> all_detents() {
    std::vector<detent_case> cases;
    for (bool full : {false, true})
        for (int k = 0; k < detent_count; ++k) cases.push_back({k, full});
    return cases;
}

}  // namespace

TEST_P(detent, click_turns_the_knob_and_publishes_it) {
    const int k = GetParam().k;
    const size_t calls = h().calls().size();
    const size_t lines = h().log_lines().size();
    EXPECT_EQ(click_detent(k), k + 1);

    EXPECT_EQ(calls_since(calls), (std::vector<std::string>{call("trigger_key_event", {event_if_lit, 0})}));
    EXPECT_EQ(h().ligar_byte(), k);
    EXPECT_EQ(h().ligar_writes(), std::vector<uint8_t>{static_cast<uint8_t>(k)});
    EXPECT_TRUE(h().ligar_guards_intact());
    const size_t published = line_index("ligar = " + std::to_string(k), lines);
    EXPECT_LT(published, line_index("trigger_key_event(", lines)) << h().log_text();

    h().frame();
    EXPECT_EQ(knob_value(), static_cast<double>(k));
    EXPECT_EQ(knob_frame(), static_cast<uint32_t>(k));
    EXPECT_TRUE(h().picture().pixels == expected_picture(k).pixels);
}

// The byte is written again, though it holds that value already.
TEST_P(detent, clicking_it_again_repeats_the_event) {
    const int k = GetParam().k;
    EXPECT_EQ(click_detent(k), k + 1);
    EXPECT_EQ(click_detent(k), k + 1);
    ASSERT_EQ(h().key_events().size(), 2u);
    EXPECT_EQ(h().key_events()[1].event, h().key_events()[0].event);
    EXPECT_EQ(h().key_events()[1].value, 0u);
    EXPECT_EQ(h().ligar_byte(), k);
    EXPECT_EQ(h().ligar_writes(), std::vector<uint8_t>(2, static_cast<uint8_t>(k)));
    h().update();
    EXPECT_EQ(knob_value(), static_cast<double>(k));
}

INSTANTIATE_TEST_SUITE_P(detents, detent, ::testing::ValuesIn(all_detents()), [](const auto& info) {
    return std::string("k").append(std::to_string(info.param.k))
        .append(info.param.full_environment ? "_on_real_sound" : "_without_window");
});

class hot_spot_edge : public open_gauge, public ::testing::WithParamInterface<int> {};

TEST_P(hot_spot_edge, every_corner_of_the_box_hits) {
    const int k = GetParam();
    const mouse_record s = spot(k);
    const int right = s.x + s.width - 1, bottom = s.y + s.height - 1;
    for (const auto& [x, y] : {std::pair{s.x, s.y}, {right, s.y}, {s.x, bottom}, {right, bottom}})
        EXPECT_EQ(h().click(x, y), k + 1) << "(" << x << "," << y << ")";
    EXPECT_EQ(h().key_events().size(), 4u);
}

TEST_P(hot_spot_edge, one_pixel_outside_the_box_misses) {
    const int k = GetParam();
    const mouse_record s = spot(k);
    const int right = s.x + s.width, bottom = s.y + s.height;
    for (const auto& [x, y] : {std::pair{s.x - 1, s.y}, {s.x, s.y - 1}, {right, s.y}, {right - 1, s.y - 1},
                               {s.x - 1, bottom - 1}, {s.x, bottom}, {right, bottom - 1}, {right - 1, bottom}})
        EXPECT_EQ(h().click(x, y), -1) << "(" << x << "," << y << ")";
    EXPECT_TRUE(h().key_events().empty());
}

INSTANTIATE_TEST_SUITE_P(detents, hot_spot_edge, ::testing::Range(0, int{detent_count}));

class click_off_the_marks : public gauge_session, public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(click_off_the_marks, calls_no_handler_and_changes_nothing) {
    standin::host_options options = without_main_window();
    options.ligar_initial = ligar_unset;
    start(options);
    open();
    const size_t calls = h().calls().size();
    EXPECT_EQ(h().click(GetParam().first, GetParam().second), -1);
    EXPECT_EQ(h().calls().size(), calls);
    EXPECT_TRUE(h().ligar_writes().empty());
    EXPECT_EQ(h().ligar_byte(), ligar_unset);
    h().frame();
    EXPECT_EQ(knob_value(), 0.0);
}

INSTANTIATE_TEST_SUITE_P(points, click_off_the_marks,
                         ::testing::Values(std::pair{29, 24}, std::pair{0, 0}, std::pair{59, 41}),
                         [](const auto& info) {
                             return "at_" + std::to_string(info.param.first) + "_" + std::to_string(info.param.second);
                         });
