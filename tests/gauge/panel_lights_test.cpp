// Which key event a click sends: it follows the panel lights as they were
// at the last initialize.
#include <cmath>
#include <limits>

#include "tests/gauge/gauge_session.h"

namespace {

// The host knows the dimmer's two key events by these numbers.
static_assert(event_if_lit == 0x000100D6 && event_if_unlit == 0x00010208);

struct lights_case {
    const char* name;
    double lights;
    uint32_t event;
};

void PrintTo(const lights_case& c, std::ostream* out) { *out << c.name; }

class click_event : public gauge_session, public ::testing::WithParamInterface<lights_case> {};

}  // namespace

TEST_P(click_event, follows_the_panel_lights) {
    standin::host_options options = without_main_window();
    options.panel_lights = GetParam().lights;
    start(options);
    open();
    ASSERT_EQ(click_detent(0), 1);
    ASSERT_EQ(h().key_events().size(), 1u);
    EXPECT_EQ(h().key_events()[0].event, GetParam().event);
    EXPECT_EQ(h().key_events()[0].value, 0u);
}

INSTANTIATE_TEST_SUITE_P(lights, click_event,
                         ::testing::Values(lights_case{"one", 1.0, event_if_lit},
                                           lights_case{"negative", -2.5, event_if_lit},
                                           lights_case{"zero", 0.0, event_if_unlit},
                                           lights_case{"negative_zero", -0.0, event_if_unlit},
                                           lights_case{"nan", std::numeric_limits<double>::quiet_NaN(),
                                                       event_if_unlit}),
                         [](const auto& info) { return std::string(info.param.name); });

namespace {

struct change_case {
    const char* name;
    double before;
    uint32_t event_before;
    double after;
    uint32_t event_after;
};

void PrintTo(const change_case& c, std::ostream* out) { *out << c.name; }

class lights_change : public gauge_session, public ::testing::WithParamInterface<change_case> {
protected:
    void SetUp() override {
        standin::host_options options = without_main_window();
        options.panel_lights = GetParam().before;
        start(options);
        open();
    }

    uint32_t last_event() { return h().key_events().empty() ? 0 : h().key_events().back().event; }
};

}  // namespace

TEST_P(lights_change, is_not_seen_until_the_next_initialize) {
    h().set_panel_lights(GetParam().after);
    h().frame();
    ASSERT_EQ(click_detent(1), 2);
    EXPECT_EQ(last_event(), GetParam().event_before);
}

TEST_P(lights_change, is_seen_after_kill_install_and_initialize) {
    ASSERT_EQ(click_detent(1), 2);
    EXPECT_EQ(last_event(), GetParam().event_before);
    h().kill();
    h().set_panel_lights(GetParam().after);
    open();
    ASSERT_EQ(click_detent(1), 2);
    EXPECT_EQ(last_event(), GetParam().event_after);
    EXPECT_EQ(h().key_events().size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(lights, lights_change,
                         ::testing::Values(change_case{"on_to_off", 1.0, event_if_lit, 0.0, event_if_unlit},
                                           change_case{"off_to_on", 0.0, event_if_unlit, 1.0, event_if_lit}),
                         [](const auto& info) { return std::string(info.param.name); });
