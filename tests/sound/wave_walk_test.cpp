// The clip file's RIFF walk, through the platform's real mmio: what plays,
// what silences the clicks, and files whose sizes lie about what follows.
#include <gtest/gtest.h>

#include <string>

#include "tests/sound/sound_rig.h"

namespace sound_tests {
namespace {

using wave::chunk;
using wave::chunk_declared;
using wave::join;
using wave::riff;

const wave::bytes tune = wave::samples(1500, 3);
const wave::bytes format = chunk("fmt ", wave::pcm_format());
const wave::bytes tune_data = chunk("data", tune);

struct clip_case {
    const char* name;
    wave::bytes file;
};

void PrintTo(const clip_case& c, std::ostream* out) { *out << c.name; }

std::string case_name(const testing::TestParamInfo<clip_case>& info) { return info.param.name; }

// Clicks once with `file` as click.wav, guarded against a click that never returns.
void click_with(sound_rig& rig, const wave::bytes& file) {
    rig.put_clip(file);
    within_time_limit([&] { rig.click(3); });
}

// ---- files that play ------------------------------------------------------

const clip_case playable[] = {
    {"plain", riff(join({format, tune_data}))},
    {"format_of_18_bytes", riff(join({chunk("fmt ", wave::pcm_format(1, 22050, 16, 18)), tune_data}))},
    {"list_before_fmt", riff(join({chunk("LIST", wave::samples(10)), format, tune_data}))},
    {"odd_junk_before_fmt", riff(join({chunk("junk", wave::samples(5)), format, tune_data}))},
    {"fact_between", riff(join({format, chunk("fact", {0xEE, 0x02, 0, 0}), tune_data}))},
    {"odd_list_between", riff(join({format, chunk("LIST", wave::samples(7)), tune_data}))},
    {"chunks_after_data",
     riff(join({format, tune_data, chunk("LIST", wave::samples(9)), chunk("junk", wave::samples(4))}))},
    {"chunks_everywhere",
     riff(join({chunk("JUNK", wave::samples(3)), format, chunk("fact", {1, 2, 3, 4}),
                chunk("LIST", wave::samples(11)), tune_data, chunk("junk", wave::samples(1))}))},
};

class playable_clip : public testing::TestWithParam<clip_case> {};

TEST_P(playable_clip, plays_exactly_the_samples) {
    sound_rig rig;
    rig.start();
    click_with(rig, GetParam().file);
    const faults::sound_log log = rig.sound_log();
    ASSERT_EQ(log.plays.size(), 1u);
    EXPECT_EQ(log.plays[0].contents, tune);
    EXPECT_EQ(log.buffer_requests[0].bytes, tune.size());
    EXPECT_EQ(log.buffer_requests[0].format.nSamplesPerSec, 22050u);
    EXPECT_EQ(log.buffer_requests[0].format.wBitsPerSample, 16u);
    EXPECT_TRUE(click_opens_clip(rig, 5));
    EXPECT_EQ(rig.plays(), 2u);
}

INSTANTIATE_TEST_SUITE_P(each, playable_clip, testing::ValuesIn(playable), case_name);

// ---- files that silence the clicks -----------------------------------------

const clip_case unplayable[] = {
    {"empty_file", {}},
    {"riff_header_only", wave::bytes{'R', 'I', 'F', 'F'}},
    {"not_riff", join({chunk("RIFX", join({{'W', 'A', 'V', 'E'}, format, tune_data}))})},
    {"text_file", wave::bytes{'c', 'l', 'i', 'c', 'k', '\n'}},
    {"riff_but_not_wave", riff(join({format, tune_data}), "AVI ")},
    {"no_fmt", riff(tune_data)},
    {"no_data", riff(format)},
    {"data_before_fmt", riff(join({tune_data, format}))},
    {"empty_data", riff(join({format, chunk("data", {})}))},
    {"fmt_cut_short_by_the_file", riff(join({chunk_declared("fmt ", 16, {1, 0, 1, 0})}))},
};

class unplayable_clip : public testing::TestWithParam<clip_case> {};

TEST_P(unplayable_clip, silences_the_clicks_and_the_knob_carries_on) {
    sound_rig rig;
    rig.start();
    click_with(rig, GetParam().file);
    EXPECT_EQ(rig.plays(), 0u);
    EXPECT_EQ(rig.opens(), 1u);
    const faults::held_resources held = rig.ledger.held();
    EXPECT_EQ(held.files, 0u);
    EXPECT_EQ(held.blocks, 1u);
    EXPECT_EQ(held.locks, 0u);

    // Even a good clip stays unheard now.
    rig.put_clip(wave::plain(tune));
    EXPECT_FALSE(click_opens_clip(rig, 6));
    EXPECT_EQ(rig.plays(), 0u);
    EXPECT_EQ(rig.key_events(), 2u);
    EXPECT_EQ(rig.knob_frame(), 6u);
    rig.host.kill();
    EXPECT_TRUE(rig.ledger.held().none()) << rig.ledger.held();
}

INSTANTIATE_TEST_SUITE_P(each, unplayable_clip, testing::ValuesIn(unplayable), case_name);

// ---- "data" claiming more than the file holds -------------------------------

class oversized_data : public testing::TestWithParam<uint32_t> {};

TEST_P(oversized_data, plays_just_the_bytes_present) {
    sound_rig rig;
    rig.start();
    click_with(rig, riff(join({format, chunk_declared("data", GetParam(), tune)})));
    const faults::sound_log log = rig.sound_log();
    ASSERT_EQ(log.plays.size(), 1u);
    EXPECT_EQ(log.buffer_requests[0].bytes, tune.size());
    EXPECT_EQ(log.plays[0].contents, tune);
    for (const faults::global_alloc_call& a : rig.ledger.memory().allocs)
        if (a.flags & GMEM_MOVEABLE) EXPECT_EQ(a.bytes, tune.size()) << "the block is sized by the claim";
    EXPECT_EQ(rig.ledger.held().blocks, 1u);
}

INSTANTIATE_TEST_SUITE_P(each, oversized_data, testing::Values(4000u, 0x10000u, 0x7FFFFFFFu, 0xFFFFFFFFu));

TEST(oversized_riff, plays_just_the_bytes_present) {
    sound_rig rig;
    rig.start();
    click_with(rig, wave::riff_declared(0xFFFFFFFF, join({format, chunk_declared("data", 0xFFFFFFF0, tune)})));
    const faults::sound_log log = rig.sound_log();
    ASSERT_EQ(log.plays.size(), 1u);
    EXPECT_EQ(log.plays[0].contents, tune);
}

// ---- the format record ------------------------------------------------------

// The format handed to CreateSoundBuffer for a "fmt " of this body.
WAVEFORMATEX format_passed_for(const wave::bytes& fmt_body) {
    sound_rig rig;
    rig.start();
    click_with(rig, riff(join({chunk("fmt ", fmt_body), tune_data})));
    const faults::sound_log log = rig.sound_log();
    EXPECT_EQ(log.buffer_requests.size(), 1u);
    return log.buffer_requests.empty() ? WAVEFORMATEX{} : log.buffer_requests[0].format;
}

TEST(format_record, a_record_short_of_its_sample_size_is_never_played) {
    // 14 bytes: no bits per sample. The next chunk's id doesn't stand in for
    // them, and a format with no sample size is not one the device plays.
    sound_rig rig;
    rig.start();
    click_with(rig, riff(join({chunk("fmt ", wave::pcm_format(1, 22050, 16, 14)), tune_data})));
    EXPECT_TRUE(rig.sound_log().buffer_requests.empty());
    EXPECT_FALSE(click_opens_clip(rig, 5));
}

TEST(format_record, extra_format_bytes_are_never_passed_on) {
    wave::bytes extended = wave::pcm_format(1, 22050, 16, 22);
    extended[16] = 4;  // cbSize: four extra bytes follow
    const WAVEFORMATEX f = format_passed_for(extended);
    EXPECT_EQ(f.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(f.cbSize, 0u);
}

// ---- sizes that wrap the file position --------------------------------------

const clip_case wrapping[] = {
    {"list_fffffff8_before_fmt", riff(join({chunk_declared("LIST", 0xFFFFFFF8, wave::samples(8)), format, tune_data}))},
    {"list_fffffff8_before_data", riff(join({format, chunk_declared("LIST", 0xFFFFFFF8, wave::samples(8)), tune_data}))},
    {"list_ffffffff_before_fmt", riff(join({chunk_declared("LIST", 0xFFFFFFFF, wave::samples(8)), format, tune_data}))},
    {"list_fffffff0_before_data", riff(join({format, chunk_declared("LIST", 0xFFFFFFF0, wave::samples(8)), tune_data}))},
    {"list_fffffff7_before_data", riff(join({format, chunk_declared("LIST", 0xFFFFFFF7, wave::samples(8)), tune_data}))},
    {"list_fffffff9_before_fmt", riff(join({chunk_declared("LIST", 0xFFFFFFF9, wave::samples(8)), format, tune_data}))},
    {"list_7fffffff_before_data", riff(join({format, chunk_declared("LIST", 0x7FFFFFFF, wave::samples(8)), tune_data}))},
    {"list_80000001_before_fmt", riff(join({chunk_declared("LIST", 0x80000001, wave::samples(8)), format, tune_data}))},
    {"fmt_fffffff8", riff(join({chunk_declared("fmt ", 0xFFFFFFF8, wave::pcm_format()), tune_data}))},
    {"fmt_ffffffff", riff(join({chunk_declared("fmt ", 0xFFFFFFFF, wave::pcm_format()), tune_data}))},
    {"riff_and_list_wrapping",
     wave::riff_declared(0xFFFFFFF8, join({format, chunk_declared("LIST", 0xFFFFFFF8, wave::samples(8)), tune_data}))},
};

class wrapping_size : public testing::TestWithParam<clip_case> {};

TEST_P(wrapping_size, click_returns_and_silences) {
    sound_rig rig;
    rig.start();
    click_with(rig, GetParam().file);
    EXPECT_EQ(rig.plays(), 0u);
    EXPECT_EQ(rig.ledger.held().files, 0u);
    EXPECT_EQ(rig.ledger.held().blocks, 1u);
    EXPECT_FALSE(click_opens_clip(rig, 1));
    EXPECT_EQ(rig.key_events(), 2u);
    rig.host.kill();
    EXPECT_TRUE(rig.ledger.held().none()) << rig.ledger.held();
}

INSTANTIATE_TEST_SUITE_P(each, wrapping_size, testing::ValuesIn(wrapping), case_name);

}  // namespace
}  // namespace sound_tests
