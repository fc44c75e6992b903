// The click as a listener gets it: what Wine's DirectSound sends to the
// sound card holds each click once, and a gauge whose sound is silenced
// sends nothing, however often it is clicked. A case that hears nothing
// shows in the same run that the capture hears a click.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <utility>

#include "standin/host/standin_host.h"
#include "tests/whole/capture_file.h"

namespace {

constexpr double audible = 0.01;          // of full scale
constexpr DWORD play_out_ms = 400;        // the build's click lasts about 45 ms

class heard_click : public ::testing::Test {
protected:
    void SetUp() override { DeleteFileA(CAPTURE_FILE); }

    // Clicks mark `k` `clicks` times, letting each play out, then kills the
    // gauge and unloads it, which closes the sound device and its capture.
    // nullopt when nothing was captured.
    std::optional<capture> click_and_listen(standin::host_options options, int k, int clicks) {
        {
            standin::host h(std::move(options));
            h.load(GAUGE_FILE);
            h.install();
            h.initialize();
            for (int i = 0; i < clicks; ++i) {
                // Record 0 covers the whole gauge; mark k is record k + 1.
                EXPECT_EQ(h.click_detent(k), k + 1);
                Sleep(play_out_ms);
            }
            h.kill();
            EXPECT_TRUE(h.errors().empty()) << h.log_text();
        }
        return read_capture(CAPTURE_FILE);
    }

    // The control of a silent case: a gauge with everything it needs, clicked
    // once afterwards, is heard once in a capture of its own.
    void expect_a_control_click_heard() {
        DeleteFileA(CAPTURE_FILE);
        const std::optional<capture> control = click_and_listen({}, 0, 1);
        ASSERT_TRUE(control) << "the control click captured nothing";
        EXPECT_EQ(control->bursts(audible, control->rate / 10), 1u) << "the control click was not heard";
    }
};

TEST_F(heard_click, one_click_is_heard_once_for_as_long_as_the_clip_on_real_sound) {
    const std::optional<capture> heard = click_and_listen({}, 3, 1);
    ASSERT_TRUE(heard) << "nothing was captured";
    EXPECT_EQ(heard->bursts(audible, heard->rate / 10), 1u);
    const double seconds = double(heard->loud_span(audible)) / heard->rate;
    EXPECT_GT(seconds, 0.01);
    EXPECT_LT(seconds, 0.1);
}

TEST_F(heard_click, every_click_is_heard_on_real_sound) {
    const std::optional<capture> heard = click_and_listen({}, 5, 3);
    ASSERT_TRUE(heard) << "nothing was captured";
    EXPECT_EQ(heard->bursts(audible, heard->rate / 10), 3u);
}

// The gauge opens its device, which sends the card silence.
TEST_F(heard_click, a_gauge_without_its_clip_stays_silent_on_real_sound) {
    standin::host_options options;
    options.click_source.reset();
    const std::optional<capture> heard = click_and_listen(options, 2, 3);
    ASSERT_TRUE(heard) << "the gauge's device captured nothing";
    ASSERT_FALSE(heard->peaks.empty()) << "the capture holds no frames";
    EXPECT_EQ(heard->loud_span(audible), 0u);
    expect_a_control_click_heard();
}

// Without the window the gauge opens no device at all: nothing reaches the card.
TEST_F(heard_click, a_gauge_without_the_main_window_stays_silent_on_real_sound) {
    standin::host_options options;
    options.main_window = false;
    const std::optional<capture> heard = click_and_listen(options, 4, 2);
    if (heard) { EXPECT_EQ(heard->loud_span(audible), 0u); }
    expect_a_control_click_heard();
}

}  // namespace
