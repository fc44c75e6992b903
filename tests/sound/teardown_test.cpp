// Gauge kill: the Sound folder, then every buffer, then the device go back,
// each once; nothing is left when the module is unloaded.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "tests/sound/sound_rig.h"

namespace sound_tests {
namespace {

using faults::api;

bool is_buffer_release(const std::string& call) {
    return call.rfind("buffer#", 0) == 0 && call.ends_with(".Release()");
}

TEST(sound_teardown, frees_the_folder_then_the_buffers_then_the_device) {
    sound_rig rig;
    rig.start();
    // Three clicks that never finish playing: three buffers alive at kill.
    for (int detent : {1, 2, 3}) rig.click(detent);
    ASSERT_EQ(rig.ledger.held().buffers, 3u);

    const uint64_t before = rig.calls_so_far();
    const std::size_t logged = rig.sound_log().sequence.size();
    call_counts kill_calls(rig.ledger);
    rig.host.kill();
    const uint64_t after = rig.calls_so_far();

    EXPECT_EQ(kill_calls[api::GlobalFree], 1u);
    EXPECT_EQ(kill_calls[api::buffer_Release], 3u);
    EXPECT_EQ(kill_calls[api::device_Release], 1u);
    EXPECT_EQ(after - before, 5u) << "kill made other calls";

    // Of kill's five calls the four releases are the 2nd to the 5th: the free is the first.
    const faults::sound_log log = rig.sound_log();
    std::vector<uint64_t> releases;
    for (const faults::ref_call& ref : log.refs)
        if (ref.seq > before) releases.push_back(ref.seq - before);
    EXPECT_EQ(releases, (std::vector<uint64_t>{2, 3, 4, 5})) << "the folder is not freed first";

    const std::vector<std::string> tail(log.sequence.begin() + logged, log.sequence.end());
    ASSERT_EQ(tail.size(), 4u);
    EXPECT_EQ(std::count_if(tail.begin(), tail.end() - 1, is_buffer_release), 3);
    EXPECT_EQ(tail.back(), "device#1.Release()");

    EXPECT_TRUE(rig.ledger.held().none()) << rig.ledger.held();
}

TEST(sound_teardown, releases_every_sound_object_before_the_mouse_table_goes) {
    sound_rig rig;
    rig.start();
    for (int detent : {1, 2}) rig.click(detent);
    const std::size_t released_before = rig.sound_log().refs.size();
    rig.host.kill();
    const faults::sound_log log = rig.sound_log();
    ASSERT_EQ(log.refs.size(), released_before + 3) << "two buffers and the device";
    const uint64_t unregistered = rig.calls_before_line("mouse_list_unregister(");
    for (std::size_t i = released_before; i < log.refs.size(); ++i)
        EXPECT_LE(log.refs[i].seq, unregistered) << log.refs[i].object << " released after the mouse table went";
}

TEST(sound_teardown, a_second_kill_releases_nothing_more) {
    sound_rig rig;
    rig.start();
    rig.click(4);
    rig.host.kill();
    call_counts second(rig.ledger);
    rig.host.kill();
    EXPECT_EQ(second[api::GlobalFree], 0u);
    EXPECT_EQ(second[api::buffer_Release], 0u);
    EXPECT_EQ(second[api::device_Release], 0u);
}

TEST(sound_teardown, nothing_is_held_after_kill_and_unload) {
    sound_rig rig;
    rig.start();
    for (int detent = 0; detent < 7; ++detent) rig.click(detent);
    rig.ledger.finish_playing(2);
    rig.click(0);
    rig.host.kill();
    rig.host.unload();
    EXPECT_TRUE(rig.ledger.held().none()) << rig.ledger.held();
}

TEST(sound_teardown, a_new_initialize_without_kill_strands_no_device) {
    sound_rig rig;
    rig.start();
    rig.click(5);
    rig.host.initialize();
    EXPECT_EQ(rig.ledger.held().devices, 1u);
    EXPECT_EQ(rig.ledger.held().blocks, 1u);
    rig.click(6);
    EXPECT_EQ(rig.plays(), 2u);
    rig.host.kill();
    EXPECT_TRUE(rig.ledger.held().none()) << rig.ledger.held();
}

}  // namespace
}  // namespace sound_tests
