// The soak run and the fuzzer at suite size: the same runs scripts/soak.sh
// and scripts/fuzz.sh make at length.
#include <gtest/gtest.h>

#include <string>

#include "fuzz/fuzz_run.h"
#include "soak/soak_run.h"

namespace {

TEST(load, thousand_clicks_and_ten_reinitializations_on_real_sound) {
    soak::soak_settings settings;
    settings.gauge_file = GAUGE_FILE;
    settings.clicks = 1000;
    settings.reinits = 10;
    settings.seed = 1000;
    const soak::soak_report report = soak::run_soak(settings);
    EXPECT_EQ(report.clicks, 1000u);
    EXPECT_EQ(report.reinits, 10u);
    EXPECT_EQ(report.clips_started, 1000u);
    for (const std::string& failure : report.failures) ADD_FAILURE() << failure;
}

// About 40 s under Wine.
TEST(load, two_thousand_mutated_clips_and_paths) {
    fuzz::fuzz_inputs inputs{GAUGE_FILE, fuzz::read_file(CLICK_FILE)};
    const fuzz::run_summary summary = fuzz::run_cases(inputs, 2000, 2000);
    EXPECT_EQ(summary.cases, 2000u);
    EXPECT_EQ(summary.failed, 0u) << "replay a failing seed with dimmer_fuzz --replay SEED";
    // The mutator leaves many files playable; a run where none plays tests nothing.
    EXPECT_GT(summary.sounding, 200u);
}

// The same cases through Wine's real DirectSound: every clip the module
// starts is mixed by the real device, so a format it cannot take shows.
TEST(load, three_hundred_mutated_clips_and_paths_on_real_sound) {
    fuzz::fuzz_inputs inputs{GAUGE_FILE, fuzz::read_file(CLICK_FILE), true};
    const fuzz::run_summary summary = fuzz::run_cases(inputs, 300, 3000);
    EXPECT_EQ(summary.cases, 300u);
    EXPECT_EQ(summary.failed, 0u) << "replay a failing seed with dimmer_fuzz --real-sound --replay SEED";
    EXPECT_GT(summary.sounding, 30u);
}

}  // namespace
