// The knob's detent across the lifecycle, and when a click may write the
// "ligar" variable: only while initialize has bound it.
#include "tests/gauge/gauge_session.h"

namespace {

constexpr uint8_t ligar_unset = 0xEE;   // no detent's number, so that any write shows

standin::host_options with_ligar(uint8_t initial, bool published = true) {
    standin::host_options options = without_main_window();
    options.ligar_initial = initial;
    options.publish_ligar = published;
    return options;
}

}  // namespace

using knob_start = open_gauge;

TEST_F(knob_start, shows_detent_zero_before_any_click) {
    h().frame();
    EXPECT_EQ(knob_value(), 0.0);
    EXPECT_EQ(knob_frame(), 0u);
    EXPECT_TRUE(h().picture().pixels == expected_picture(0).pixels);
}

using knob_binding = gauge_session;

TEST_F(knob_binding, initialize_does_not_publish_the_position) {
    start(with_ligar(ligar_unset));
    open();
    EXPECT_EQ(h().ligar_byte(), ligar_unset);
    EXPECT_TRUE(h().ligar_writes().empty());
}

TEST_F(knob_binding, detent_survives_kill_and_a_new_install) {
    start(with_ligar(ligar_unset));
    open();
    ASSERT_EQ(click_detent(4), 5);
    h().kill();
    open();
    EXPECT_EQ(h().ligar_writes(), std::vector<uint8_t>{4});
    h().frame();
    EXPECT_EQ(knob_value(), 4.0);
    EXPECT_EQ(knob_frame(), 4u);
    EXPECT_TRUE(h().picture().pixels == expected_picture(4).pixels);
}

TEST_F(knob_binding, click_before_initialize_turns_the_knob_without_publishing) {
    start(with_ligar(ligar_unset));
    h().install();
    ASSERT_EQ(click_detent(3), 4);
    EXPECT_EQ(h().key_events().size(), 1u);
    h().initialize();
    EXPECT_EQ(h().ligar_byte(), ligar_unset);
    EXPECT_TRUE(h().ligar_writes().empty());
    h().frame();
    EXPECT_EQ(knob_value(), 3.0);
}

TEST_F(knob_binding, unpublished_ligar_is_not_written) {
    start(with_ligar(ligar_unset, false));
    open();
    ASSERT_EQ(click_detent(5), 6);
    ASSERT_EQ(h().key_events().size(), 1u);
    EXPECT_EQ(h().key_events()[0].event, event_if_lit);
    EXPECT_EQ(h().ligar_byte(), ligar_unset);
    EXPECT_TRUE(h().ligar_writes().empty());
    h().frame();
    EXPECT_EQ(knob_value(), 5.0);
}

TEST_F(knob_binding, click_after_a_new_install_leaves_the_old_storage_alone) {
    start(with_ligar(ligar_unset));
    open();
    ASSERT_EQ(click_detent(2), 3);
    h().kill();
    h().install();
    ASSERT_EQ(click_detent(5), 6);
    EXPECT_EQ(h().key_events().size(), 2u);
    EXPECT_EQ(h().ligar_byte(), 2);
    EXPECT_EQ(h().ligar_writes(), std::vector<uint8_t>{2});
    EXPECT_TRUE(h().ligar_guards_intact());
    h().update();
    EXPECT_EQ(knob_value(), 5.0);
}

class click_event_before_initialize : public gauge_session, public ::testing::WithParamInterface<bool> {};

// Before any initialize the lights were never read, and the knob's state is
// zero at load: the event is the one for lights off, whatever the host's lights.
TEST_P(click_event_before_initialize, is_the_unlit_event_with_value_zero) {
    standin::host_options options = with_ligar(ligar_unset);
    options.panel_lights = GetParam() ? 1.0 : 0.0;
    start(options);
    h().install();
    ASSERT_EQ(click_detent(6), 7);
    ASSERT_EQ(h().key_events().size(), 1u);
    EXPECT_EQ(h().key_events()[0].event, event_if_unlit) << std::hex << h().key_events()[0].event;
    EXPECT_EQ(h().key_events()[0].value, 0u);
}

INSTANTIATE_TEST_SUITE_P(lights, click_event_before_initialize, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "lit" : "unlit"; });
