// Gauge initialize: the window, the device and the Sound folder from the
// simulator's key; any step failing leaves the clicks silent for the load.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "tests/sound/sound_rig.h"

namespace sound_tests {
namespace {

using faults::api;

constexpr DWORD key_read = 0x20019;
constexpr UINT zero_filled_fixed = GPTR;

bool appended_sound_folder(const faults::ledger& ledger) {
    const auto strings = ledger.strings();
    return std::any_of(strings.begin(), strings.end(), [](const faults::string_call& c) {
        return c.which == api::lstrcatA && c.source == "\\Sound\\";
    });
}

// The first set-up's calls, one of each, as the ledger wrote them down.
class sound_setup_calls : public testing::Test {
protected:
    void SetUp() override {
        rig.start();
        windows = rig.ledger.windows();
        sound = rig.ledger.sound_calls();
        registry = rig.ledger.registry();
        memory = rig.ledger.memory();
        ASSERT_EQ(windows.size(), 1u);
        ASSERT_EQ(sound.creates.size(), 1u);
        ASSERT_EQ(sound.cooperative_levels.size(), 1u);
        ASSERT_EQ(registry.opens.size(), 1u);
        ASSERT_EQ(registry.queries.size(), 2u);
        ASSERT_EQ(memory.allocs.size(), 1u);
    }

    sound_rig rig;
    std::vector<faults::find_window_call> windows;
    faults::sound_log sound;
    faults::registry_log registry;
    faults::memory_log memory;
};

std::string text(const std::optional<std::string>& value) { return value.value_or("(null)"); }

TEST_F(sound_setup_calls, come_in_order_and_keep_the_folder_and_the_device) {
    const auto strings = rig.ledger.strings();
    const auto appended = std::find_if(strings.begin(), strings.end(), [](const faults::string_call& c) {
        return c.which == api::lstrcatA && c.source == "\\Sound\\";
    });
    ASSERT_NE(appended, strings.end()) << "no \\Sound\\ appended to the folder";
    // The name is checked before the block for the path is asked for.
    const std::pair<const char*, uint64_t> in_order[] = {
        {"FindWindowA", windows[0].seq}, {"DirectSoundCreate", sound.creates[0].seq},
        {"SetCooperativeLevel", sound.cooperative_levels[0].seq}, {"RegOpenKeyExA", registry.opens[0].seq},
        {"PlayerName query", registry.queries[0].seq}, {"GlobalAlloc", memory.allocs[0].seq},
        {"path query", registry.queries[1].seq}, {"lstrcatA", appended->seq},
    };
    for (size_t i = 1; i < std::size(in_order); ++i)
        EXPECT_LT(in_order[i - 1].second, in_order[i].second) << in_order[i - 1].first << " then " << in_order[i].first;
    EXPECT_EQ(rig.ledger.held(), (faults::held_resources{.blocks = 1, .bytes = 260, .devices = 1}));
}

struct argument {
    const char* name;
    std::string expected;
    std::string actual;
};

TEST_F(sound_setup_calls, pass_the_arguments_the_host_expects) {
    const faults::reg_open_call& open = registry.opens[0];
    const argument arguments[] = {
        {"FindWindowA class", "FS98MAIN", text(windows[0].class_name)},
        {"FindWindowA title", "(null)", text(windows[0].title)},
        {"DirectSoundCreate device", "default", sound.creates[0].device_ptr ? "given" : "default"},
        {"DirectSoundCreate outer", "none", sound.creates[0].outer ? "given" : "none"},
        {"SetCooperativeLevel window", "the main window",
         sound.cooperative_levels[0].window == rig.host.main_window_handle() ? "the main window" : "another"},
        {"SetCooperativeLevel level", "1", std::to_string(sound.cooperative_levels[0].level)},
        {"RegOpenKeyExA root", "HKEY_LOCAL_MACHINE", open.root == HKEY_LOCAL_MACHINE ? "HKEY_LOCAL_MACHINE" : "another"},
        {"RegOpenKeyExA subkey", "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\7.0", text(open.subkey)},
        {"RegOpenKeyExA access", std::to_string(key_read), std::to_string(open.access)},
        {"first query's value", "PlayerName", text(registry.queries[0].value)},
        {"first query's data", "none: a size query", registry.queries[0].data_given ? "given" : "none: a size query"},
        {"second query's value", "path", text(registry.queries[1].value)},
        {"second query's size", "260", std::to_string(registry.queries[1].size_in.value_or(0))},
        {"GlobalAlloc flags", std::to_string(zero_filled_fixed), std::to_string(memory.allocs[0].flags)},
        {"GlobalAlloc bytes", "260", std::to_string(memory.allocs[0].bytes)},
    };
    for (const argument& a : arguments) EXPECT_EQ(a.actual, a.expected) << a.name;
}

// Among the host's calls at initialize: the lights are read, then the device
// opens, then "ligar" is bound.
TEST(sound_setup, opens_the_device_between_reading_the_lights_and_binding_ligar) {
    sound_rig rig;
    rig.start();
    const faults::sound_log sound = rig.sound_log();
    ASSERT_EQ(sound.creates.size(), 1u);
    ASSERT_EQ(sound.cooperative_levels.size(), 1u);
    EXPECT_GT(sound.creates[0].seq, rig.calls_before_line("initialize_var(")) << "opened before the lights are read";
    EXPECT_LE(sound.cooperative_levels[0].seq, rig.calls_before_line("initialize_var_by_name("))
        << "opened after ligar is bound";
}

std::string clip_opened_for_path(const standin::registry_value& path) {
    standin::host_options options;
    options.path_override = path;
    sound_rig rig(options);
    rig.start();
    rig.click(2);
    const auto opens = rig.ledger.mmio().opens;
    if (opens.empty()) return "(no file opened)";
    // The name is built in a path block: the folder copied, the clip's name appended.
    const auto strings = rig.ledger.strings();
    const auto named = std::find_if(strings.begin(), strings.end(), [](const faults::string_call& c) {
        return c.which == api::lstrcatA && c.source == "click.wav";
    });
    EXPECT_NE(named, strings.end());
    if (named != strings.end()) EXPECT_EQ(named->result, opens[0].file);
    return opens[0].file.value_or("(null)");
}

TEST(sound_setup, clip_path_is_the_folder_then_sound_then_the_name) {
    EXPECT_EQ(clip_opened_for_path(standin::registry_text("C:\\FS")), "C:\\FS\\Sound\\click.wav");
}

TEST(sound_setup, folder_ending_in_a_backslash_keeps_both_backslashes) {
    EXPECT_EQ(clip_opened_for_path(standin::registry_text("C:\\FS\\")), "C:\\FS\\\\Sound\\click.wav");
}

TEST(sound_setup, folder_given_as_binary_text_works) {
    sound_rig rig;
    // The type isn't looked at: the same folder text as REG_BINARY plays the clip.
    const std::string folder = rig.host.install_folder_path();
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, standin::simulator_key::path, 0, KEY_SET_VALUE, &key),
              ERROR_SUCCESS);
    const LSTATUS set = RegSetValueExA(key, "path", 0, REG_BINARY,
                                       reinterpret_cast<const BYTE*>(folder.c_str()),
                                       static_cast<DWORD>(folder.size() + 1));
    RegCloseKey(key);
    ASSERT_EQ(set, ERROR_SUCCESS);
    rig.start();
    rig.click(4);
    ASSERT_EQ(rig.ledger.mmio().opens.size(), 1u);
    EXPECT_EQ(rig.ledger.mmio().opens[0].file, folder + "\\Sound\\click.wav");
    EXPECT_EQ(rig.plays(), 1u);
}

// Whether set-up kept a Sound folder for a "path" value.
bool folder_kept_for(const standin::registry_value& path) {
    standin::host_options options;
    options.path_override = path;
    sound_rig rig(options);
    rig.start();
    return rig.ledger.held().blocks == 1 && appended_sound_folder(rig.ledger);
}

TEST(sound_setup, folder_and_subfolder_must_fit_the_260_byte_block) {
    // 252 + "\Sound\" + terminator = 260.
    EXPECT_TRUE(folder_kept_for(standin::registry_text(std::string(252, 'f'))));
    EXPECT_FALSE(folder_kept_for(standin::registry_text(std::string(253, 'f'))));
}

TEST(sound_setup, folder_and_clip_name_must_fit_a_path_block) {
    // 243 + "\Sound\" + "click.wav" = 259 characters: the file is looked for.
    const std::string fits = "C:\\" + std::string(240, 'f');
    EXPECT_EQ(clip_opened_for_path(standin::registry_text(fits)), fits + "\\Sound\\click.wav");
    // One more leaves no room for the terminator: the click silences, nothing overruns.
    standin::host_options options;
    options.path_override = standin::registry_text(fits + "f");
    sound_rig rig(options);
    rig.start();
    EXPECT_EQ(rig.ledger.held().blocks, 1u);
    EXPECT_FALSE(click_opens_clip(rig, 2));
    EXPECT_FALSE(click_opens_clip(rig, 3));
    EXPECT_EQ(rig.ledger.held().blocks, 1u);
}

TEST(sound_setup, path_filling_the_block_without_terminator_is_no_folder) {
    const std::vector<uint8_t> full(260, 'f');
    EXPECT_FALSE(folder_kept_for({REG_BINARY, full}));
    EXPECT_FALSE(folder_kept_for(standin::registry_text(std::string(260, 'f'), false)));
    EXPECT_FALSE(folder_kept_for({REG_BINARY, std::vector<uint8_t>(300, 'f')}));
    EXPECT_FALSE(folder_kept_for(standin::registry_text(std::string(300, 'f'))));
}

// ---- failures at set-up --------------------------------------------------

struct setup_failure {
    const char* name;
    std::function<void(standin::host_options&)> environment;
    std::function<void(faults::ledger&)> inject;
    bool device_created;
};

void PrintTo(const setup_failure& failure, std::ostream* out) { *out << failure.name; }

void as_installed(standin::host_options&) {}
void nothing_injected(faults::ledger&) {}

// What the host's environment lacks: the same at every set-up of the load.
const setup_failure missing_pieces[] = {
    {"no_main_window", [](auto& o) { o.main_window = false; }, nothing_injected, false},
    {"no_simulator_key", [](auto& o) { o.registry_key = false; }, nothing_injected, true},
    {"no_player_name", [](auto& o) { o.player_name.reset(); }, nothing_injected, true},
    {"no_path", [](auto& o) { o.path_value = false; }, nothing_injected, true},
    {"folder_too_long",
     [](auto& o) { o.path_override = standin::registry_text(std::string(253, 'f')); },
     nothing_injected, true},
};

// A platform call failing once, at the first set-up.
const setup_failure refused_calls[] = {
    {"no_window_found", as_installed, [](auto& l) { l.fail(api::FindWindowA, 1); }, false},
    {"device_not_created", as_installed, [](auto& l) { l.fail(api::DirectSoundCreate, 1); }, false},
    {"device_created_with_s_false", as_installed, [](auto& l) { l.fail(api::DirectSoundCreate, 1, S_FALSE); }, true},
    {"cooperative_level_refused", as_installed,
     [](auto& l) { l.fail(api::device_SetCooperativeLevel, 1); }, true},
    {"key_not_opened", as_installed, [](auto& l) { l.fail(api::RegOpenKeyExA, 1); }, true},
    {"player_name_query_fails", as_installed, [](auto& l) { l.fail(api::RegQueryValueExA, 1); }, true},
    {"path_query_fails", as_installed, [](auto& l) { l.fail(api::RegQueryValueExA, 2); }, true},
    {"folder_block_refused", as_installed, [](auto& l) { l.fail(api::GlobalAlloc, 1); }, true},
};

long device_releases(const faults::sound_log& log) {
    return std::count_if(log.refs.begin(), log.refs.end(),
                         [](const faults::ref_call& r) { return r.object == "device#1"; });
}

class sound_setup_failure : public testing::TestWithParam<setup_failure> {};

TEST_P(sound_setup_failure, leaves_clicks_silent_and_the_knob_working) {
    const setup_failure& failure = GetParam();
    standin::host_options options;
    failure.environment(options);
    sound_rig rig(options);
    failure.inject(rig.ledger);
    rig.start();
    rig.ledger.clear_failures();
    EXPECT_EQ(rig.ledger.held().keys, 0u) << "the key stays open";
    EXPECT_EQ(rig.ledger.held().blocks, 0u);
    EXPECT_EQ(rig.ledger.held().devices, failure.device_created ? 1u : 0u);

    const uint64_t allocs = rig.allocs();
    for (int detent : {5, 1, 6}) {
        const std::size_t events = rig.key_events();
        EXPECT_FALSE(click_opens_clip(rig, detent));
        EXPECT_EQ(rig.host.ligar_byte(), detent);
        EXPECT_EQ(rig.key_events(), events + 1);
        EXPECT_EQ(rig.knob_frame(), static_cast<uint32_t>(detent));
    }
    EXPECT_EQ(rig.plays(), 0u);
    EXPECT_EQ(rig.allocs(), allocs) << "a silent click allocated";

    rig.host.kill();
    EXPECT_TRUE(rig.ledger.held().none()) << rig.ledger.held();
    const faults::sound_log log = rig.sound_log();
    EXPECT_EQ(device_releases(log), failure.device_created ? 1 : 0);
    rig.host.kill();
    EXPECT_EQ(rig.sound_log().sequence.size(), log.sequence.size()) << "a second kill did more";
}

INSTANTIATE_TEST_SUITE_P(missing, sound_setup_failure, testing::ValuesIn(missing_pieces),
                         [](const auto& info) { return std::string(info.param.name); });
INSTANTIATE_TEST_SUITE_P(refused, sound_setup_failure, testing::ValuesIn(refused_calls),
                         [](const auto& info) { return std::string(info.param.name); });

// Once silenced, the clicks stay silent for the module's load, even though a
// later set-up finds everything it needs.
class sound_setup_refusal : public testing::TestWithParam<setup_failure> {};

TEST_P(sound_setup_refusal, silence_outlasts_a_later_set_up_that_succeeds) {
    sound_rig rig;
    GetParam().inject(rig.ledger);
    rig.start();
    rig.ledger.clear_failures();
    rig.host.kill();

    const uint64_t creates = rig.ledger.calls(api::DirectSoundCreate);
    const uint64_t queries = rig.ledger.calls(api::RegQueryValueExA);
    rig.start();
    EXPECT_EQ(rig.ledger.calls(api::DirectSoundCreate), creates + 1);
    EXPECT_EQ(rig.ledger.calls(api::RegQueryValueExA), queries + 2);
    EXPECT_EQ(rig.ledger.held().blocks, 1u) << "the later set-up keeps its folder";
    EXPECT_EQ(rig.ledger.held().devices, 1u);
    EXPECT_FALSE(click_opens_clip(rig, 3));
    EXPECT_EQ(rig.host.ligar_byte(), 3);
    EXPECT_EQ(rig.plays(), 0u);
    rig.host.kill();
    EXPECT_TRUE(rig.ledger.held().none()) << rig.ledger.held();
}

INSTANTIATE_TEST_SUITE_P(refused, sound_setup_refusal, testing::ValuesIn(refused_calls),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace sound_tests
