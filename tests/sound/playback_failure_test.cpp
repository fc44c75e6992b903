// A platform call failing while a click plays its clip: the click silences
// the sound for the rest of the load, closes the file and frees the samples,
// and the knob keeps working.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "tests/sound/sound_rig.h"

namespace sound_tests {
namespace {

using faults::api;

// Which call of a click to fail, given how many of that call a good click makes.
using nth_call = std::function<unsigned(uint64_t per_click)>;

unsigned first(uint64_t) { return 1; }
unsigned last(uint64_t per_click) { return static_cast<unsigned>(per_click); }
nth_call number(unsigned n) {
    return [n](uint64_t) { return n; };
}

struct click_failure {
    const char* name;
    api which;
    nth_call nth;
    std::optional<long> code;  // nullopt: the call's usual failure
    wave::bytes clip = {};     // empty: the clip the gauge is installed with
};

void PrintTo(const click_failure& failure, std::ostream* out) { *out << failure.name; }

const click_failure click_failures[] = {
    {"buffer_not_created", api::device_CreateSoundBuffer, first, DSERR_OUTOFMEMORY},
    {"buffer_created_with_s_false", api::device_CreateSoundBuffer, first, S_FALSE},
    {"lock_refused", api::buffer_Lock, first, DSERR_INVALIDPARAM},
    {"lock_with_s_false", api::buffer_Lock, first, S_FALSE},
    {"unlock_refused", api::buffer_Unlock, first, DSERR_INVALIDPARAM},
    {"unlock_with_s_false", api::buffer_Unlock, first, S_FALSE},
    {"position_refused", api::buffer_SetCurrentPosition, first, DSERR_INVALIDCALL},
    {"position_with_s_false", api::buffer_SetCurrentPosition, first, S_FALSE},
    {"play_refused", api::buffer_Play, first, DSERR_BUFFERLOST},
    {"play_with_s_false", api::buffer_Play, first, S_FALSE},
    {"clip_not_opened", api::mmioOpenA, first, {}},
    {"riff_not_found", api::mmioDescend, number(1), {}},
    {"fmt_not_found", api::mmioDescend, number(2), {}},
    {"data_not_found", api::mmioDescend, number(3), {}},
    {"fmt_not_left", api::mmioAscend, first, {}},
    {"first_read_fails", api::mmioRead, first, -1},
    {"format_read_fails", api::mmioRead, number(3), -1},
    {"sample_read_fails", api::mmioRead, last, -1},
    {"seek_fails", api::mmioSeek, first, -1},
    {"rewind_fails", api::mmioSeek, number(2), -1},
    {"position_not_told", api::mmioSeek, number(3), -1},
    {"return_after_the_search_fails", api::mmioSeek, number(4), -1},
    // The search for "fmt " skips a chunk before it, and the seek past it fails.
    {"seek_past_a_skipped_chunk_fails", api::mmioSeek, number(6), -1,
     wave::riff(wave::join({wave::chunk("LIST", wave::samples(10)), wave::chunk("fmt ", wave::pcm_format()),
                            wave::chunk("data", wave::samples(400))}))},
    {"path_block_refused", api::GlobalAlloc, first, {}},
    {"sample_block_refused", api::GlobalAlloc, last, {}},
    {"sample_block_not_locked", api::GlobalLock, first, {}},
};

class click_failure_test : public testing::TestWithParam<click_failure> {
protected:
    click_failure_test() { rig.start(); }
    sound_rig rig;
};

TEST_P(click_failure_test, silences_the_clicks_and_leaves_nothing_open) {
    const click_failure& failure = GetParam();
    if (!failure.clip.empty()) rig.put_clip(failure.clip);
    // A good click first, to count its calls.
    call_counts good(rig.ledger);
    rig.click(1);
    ASSERT_EQ(rig.plays(), 1u);
    const uint64_t per_click = good[failure.which];
    ASSERT_GT(per_click, 0u) << "a click makes no such call";

    ASSERT_TRUE(rig.ledger.fail(failure.which, failure.nth(per_click), failure.code));
    rig.click(2);
    rig.ledger.clear_failures();
    EXPECT_EQ(rig.ledger.failures(failure.which), 1u) << "the failure was never reached";
    EXPECT_EQ(rig.key_events(), 2u);
    EXPECT_EQ(rig.host.ligar_byte(), 2);
    const faults::held_resources held = rig.ledger.held();
    EXPECT_EQ(held.files, 0u);
    EXPECT_EQ(held.blocks, 1u) << "the samples or the path block are kept";
    EXPECT_EQ(held.locks, 0u);

    EXPECT_FALSE(click_opens_clip(rig, 4)) << "the click after a failure still plays";
    EXPECT_EQ(rig.key_events(), 3u);
    EXPECT_EQ(rig.knob_frame(), 4u);

    rig.host.kill();
    EXPECT_TRUE(rig.ledger.held().none()) << rig.ledger.held();
}

INSTANTIATE_TEST_SUITE_P(each, click_failure_test, testing::ValuesIn(click_failures),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace sound_tests
