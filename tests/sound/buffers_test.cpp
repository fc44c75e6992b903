// What clicks hold: the samples go back once they are in the buffer, an
// earlier click's buffer goes once it has finished playing, overlapping
// clicks overlap, and what is held stays bounded however fast one clicks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>

#include "tests/sound/sound_rig.h"

namespace sound_tests {
namespace {

using faults::api;

constexpr std::size_t most_buffers = 8;  // the latest click's and seven earlier ones

std::string buffer(int id) { return "buffer#" + std::to_string(id); }

bool called(const faults::sound_log& log, const std::string& call) {
    return std::find(log.sequence.begin(), log.sequence.end(), call) != log.sequence.end();
}

std::ptrdiff_t position_of(const faults::sound_log& log, const std::string& call) {
    return std::find(log.sequence.begin(), log.sequence.end(), call) - log.sequence.begin();
}

// Whether the module let go of a buffer's last reference.
bool released(const faults::sound_log& log, int id) {
    return std::any_of(log.refs.begin(), log.refs.end(), [&](const faults::ref_call& r) {
        return r.object == buffer(id) && r.count == 0;
    });
}

class clip_buffers : public testing::Test {
protected:
    clip_buffers() {
        rig.start();
        rig.put_clip(wave::plain(wave::samples(800)));
    }
    sound_rig rig;
};

TEST_F(clip_buffers, a_click_keeps_its_buffer_and_nothing_else) {
    rig.click(2);
    const faults::held_resources held = rig.ledger.held();
    EXPECT_EQ(held.blocks, 1u) << "more than the Sound folder's block";
    EXPECT_EQ(held.locks, 0u);
    EXPECT_EQ(held.files, 0u);
    EXPECT_EQ(held.keys, 0u);
    EXPECT_EQ(held.devices, 1u);
    EXPECT_EQ(held.buffers, 1u);
}

TEST_F(clip_buffers, a_finished_buffer_is_released_at_the_next_click) {
    rig.click(2);
    ASSERT_TRUE(rig.ledger.finish_playing(1));
    rig.click(3);
    const faults::sound_log log = rig.sound_log();
    ASSERT_TRUE(called(log, "buffer#1.GetStatus()")) << "released without asking";
    EXPECT_LT(position_of(log, "buffer#1.GetStatus()"), position_of(log, "buffer#1.Release()"));
    EXPECT_TRUE(released(log, 1));
    EXPECT_EQ(rig.ledger.held().buffers, 1u);
    EXPECT_EQ(rig.plays(), 2u);
}

// A buffer that cannot tell whether it still plays is taken as finished: the
// module never holds what it cannot account for, and the click plays.
TEST_F(clip_buffers, a_buffer_whose_status_is_refused_is_released_at_the_next_click) {
    rig.click(2);
    ASSERT_TRUE(rig.ledger.fail(api::buffer_GetStatus, 1, std::nullopt));
    rig.click(3);
    rig.ledger.clear_failures();
    EXPECT_EQ(rig.ledger.failures(api::buffer_GetStatus), 1u) << "the failure was never reached";
    EXPECT_TRUE(released(rig.sound_log(), 1));
    EXPECT_EQ(rig.ledger.held().buffers, 1u);
    EXPECT_EQ(rig.plays(), 2u);
}

TEST_F(clip_buffers, overlapping_clicks_keep_playing) {
    rig.click(2);
    rig.click(3);
    rig.click(4);
    const faults::sound_log log = rig.sound_log();
    for (int id : {1, 2}) {
        EXPECT_FALSE(called(log, buffer(id) + ".Stop()")) << "an earlier click was cut short";
        EXPECT_FALSE(released(log, id)) << buffer(id) << " released while playing";
    }
    EXPECT_EQ(rig.ledger.held().buffers, 3u);
}

TEST_F(clip_buffers, only_the_finished_ones_go) {
    for (int detent : {1, 2, 3, 4}) rig.click(detent);
    rig.ledger.finish_playing(2);
    rig.ledger.finish_playing(3);
    rig.click(5);
    const faults::sound_log log = rig.sound_log();
    EXPECT_TRUE(released(log, 2));
    EXPECT_TRUE(released(log, 3));
    EXPECT_FALSE(released(log, 1));
    EXPECT_FALSE(released(log, 4));
    EXPECT_EQ(rig.ledger.held().buffers, 3u);
}

TEST_F(clip_buffers, the_oldest_is_cut_short_when_eight_still_play) {
    for (std::size_t n = 0; n < most_buffers; ++n) rig.click(static_cast<int>(n % 7));
    EXPECT_EQ(rig.ledger.held().buffers, most_buffers);
    EXPECT_FALSE(called(rig.sound_log(), "buffer#1.Stop()"));
    rig.click(0);
    const faults::sound_log log = rig.sound_log();
    ASSERT_TRUE(called(log, "buffer#1.Stop()"));
    EXPECT_LT(position_of(log, "buffer#1.Stop()"), position_of(log, "buffer#1.Release()"));
    EXPECT_TRUE(released(log, 1));
    EXPECT_FALSE(called(log, "buffer#2.Stop()"));
    EXPECT_EQ(rig.ledger.held().buffers, most_buffers);
}

TEST_F(clip_buffers, a_thousand_clicks_that_never_finish_hold_a_bounded_set) {
    constexpr int clicks = 1000;
    for (int n = 0; n < clicks; ++n) {
        rig.click(n % 7);
        const faults::held_resources held = rig.ledger.held();
        ASSERT_LE(held.buffers, most_buffers) << "after click " << n + 1;
        ASSERT_EQ(held.blocks, 1u) << "after click " << n + 1;
        ASSERT_EQ(held.locks + held.files + held.keys, 0u) << "after click " << n + 1;
    }
    EXPECT_EQ(rig.plays(), static_cast<std::size_t>(clicks));
    const faults::sound_log log = rig.sound_log();
    for (int id = clicks - static_cast<int>(most_buffers) + 1; id <= clicks; ++id)
        EXPECT_FALSE(released(log, id)) << buffer(id) << " is not among the last eight";
    rig.host.kill();
    EXPECT_TRUE(rig.ledger.held().none()) << rig.ledger.held();
}

}  // namespace
}  // namespace sound_tests
