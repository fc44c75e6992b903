// Which clip formats reach the sound device. Those it is documented to play
// go to it as the file has them; any other silences the clicks before the
// device is asked, on the fake device and on Wine's real one, whose mixer
// crashes the whole process on some of them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/sound/sound_rig.h"

namespace sound_tests {
namespace {

using wave::chunk;
using wave::join;
using wave::pcm_format;
using wave::riff;

constexpr uint16_t pcm = 1;
constexpr uint16_t ieee_float = 3;
constexpr uint16_t extensible = 0xFFFE;

struct format_case {
    const char* name;
    wave::bytes record;
};

void PrintTo(const format_case& c, std::ostream* out) { *out << c.name; }

std::string case_name(const testing::TestParamInfo<format_case>& info) { return info.param.name; }

// A record whose block size is `block` whatever its channels and bits say.
wave::bytes with_block(wave::bytes record, uint16_t block) {
    record[12] = static_cast<uint8_t>(block);
    record[13] = static_cast<uint8_t>(block >> 8);
    return record;
}

const wave::bytes tune = wave::samples(2400, 7);

wave::bytes clip_of(const wave::bytes& record) { return riff(join({chunk("fmt ", record), chunk("data", tune)})); }

void click_with(sound_rig& rig, const wave::bytes& record, int detent = 3) {
    rig.put_clip(clip_of(record));
    within_time_limit([&] { rig.click(detent); });
}

// ---- formats the device plays ----------------------------------------------

const format_case played[] = {
    {"pcm_8_bits", pcm_format(1, 22050, 8)},
    {"pcm_16_bits_stereo", pcm_format(2, 44100, 16)},
    {"pcm_24_bits", pcm_format(1, 48000, 24)},
    {"pcm_32_bits_stereo", pcm_format(2, 22050, 32)},
    {"pcm_six_channels", pcm_format(6, 48000, 16)},
    {"float_32_bits", pcm_format(1, 22050, 32, 16, ieee_float)},
    {"float_64_bits", pcm_format(2, 22050, 64, 16, ieee_float)},
    {"lowest_rate", pcm_format(1, 100, 16)},
    {"highest_rate", pcm_format(1, 200000, 16)},
};

class played_format : public testing::TestWithParam<format_case> {};

TEST_P(played_format, reaches_the_device_as_the_file_has_it) {
    sound_rig rig;
    rig.start();
    click_with(rig, GetParam().record);
    const faults::sound_log log = rig.sound_log();
    ASSERT_EQ(log.buffer_requests.size(), 1u);
    const WAVEFORMATEX& asked = log.buffer_requests[0].format;
    const wave::bytes& record = GetParam().record;
    EXPECT_EQ(0, std::memcmp(&asked, record.data(), 16));
    ASSERT_EQ(log.plays.size(), 1u);
    EXPECT_TRUE(click_opens_clip(rig, 5));
    EXPECT_EQ(rig.plays(), 2u);
}

INSTANTIATE_TEST_SUITE_P(each, played_format, testing::ValuesIn(played), case_name);

// ---- formats it is never asked to play --------------------------------------

const format_case refused[] = {
    {"pcm_64_bits", pcm_format(1, 22050, 64)},
    {"pcm_56_bits", pcm_format(1, 22050, 56)},
    {"pcm_40_bits", pcm_format(1, 22050, 40)},
    {"pcm_12_bits", pcm_format(1, 22050, 12)},
    {"pcm_no_bits", pcm_format(1, 22050, 0)},
    {"float_16_bits", pcm_format(1, 22050, 16, 16, ieee_float)},
    {"extensible_without_its_extension", pcm_format(1, 22050, 16, 16, extensible)},
    {"unknown_tag", pcm_format(1, 22050, 16, 16, 0x1234)},
    {"rate_0", pcm_format(1, 0, 16)},
    {"rate_99", pcm_format(1, 99, 16)},
    {"rate_200001", pcm_format(1, 200001, 16)},
    {"rate_40_mhz", pcm_format(1, 40000000, 16)},
    {"rate_all_ones", pcm_format(1, 0xFFFFFFFF, 16)},
    {"block_of_half_a_frame", with_block(pcm_format(2, 22050, 16), 2)},
    {"block_of_two_frames", with_block(pcm_format(1, 22050, 16), 4)},
    {"no_channels", with_block(pcm_format(0, 22050, 16), 2)},
};

class refused_format : public testing::TestWithParam<format_case> {};

TEST_P(refused_format, silences_the_clicks_before_the_device_is_asked) {
    sound_rig rig;
    rig.start();
    click_with(rig, GetParam().record);
    EXPECT_TRUE(rig.sound_log().buffer_requests.empty());
    EXPECT_EQ(rig.plays(), 0u);
    EXPECT_EQ(rig.ledger.held().files, 0u);

    // Silenced for good: a good clip afterwards stays unheard.
    rig.put_clip(wave::plain(tune));
    EXPECT_FALSE(click_opens_clip(rig, 6));
    EXPECT_EQ(rig.key_events(), 2u);
    rig.host.kill();
    EXPECT_TRUE(rig.ledger.held().none()) << rig.ledger.held();
}

// Each click is given time for the device's mixer to run over it.
TEST_P(refused_format, leaves_the_process_running_on_real_sound) {
    sound_rig rig({}, faults::sound_mode::forward);
    rig.start();
    for (int detent : {1, 4}) {
        click_with(rig, GetParam().record, detent);
        Sleep(300);
    }
    EXPECT_EQ(rig.key_events(), 2u);
    EXPECT_EQ(rig.knob_frame(), 4u);
    rig.host.kill();
    EXPECT_TRUE(rig.ledger.held().none()) << rig.ledger.held();
}

INSTANTIATE_TEST_SUITE_P(each, refused_format, testing::ValuesIn(refused), case_name);

}  // namespace
}  // namespace sound_tests
