#include "fuzz/fuzz_case.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>

#include "fuzz/path_mutator.h"
#include "fuzz/watchdog.h"
#include "fuzz/wave_expectation.h"
#include "soak/detent_click.h"
#include "standin/watched_host/watched_host.h"

namespace fuzz {
namespace {

constexpr int clicks_per_case = 3;
// On the real device, each click is left sounding for a few of its mixer's
// periods, so that the mixer works on every clip the module starts.
constexpr DWORD real_mixing_ms = 30;

// A folder of the fuzzer's own holding Sound\click.wav: the file each case
// plays, and the folder a mutated "path" value names.
class clip_folder {
public:
    clip_folder()
        : folder_(std::filesystem::temp_directory_path() /
                  ("dimmer-fuzz-" + std::to_string(GetCurrentProcessId()))) {
        std::filesystem::create_directories(folder_ / "Sound");
    }
    ~clip_folder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    std::string folder() const { return folder_.string(); }
    std::string clip() const { return (folder_ / "Sound" / "click.wav").string(); }
    void write(const bytes& file) const {
        std::ofstream out(clip(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
        if (!out) throw std::runtime_error("cannot write " + clip());
    }

private:
    std::filesystem::path folder_;
};

const clip_folder& own_folder() {
    static const clip_folder folder;
    return folder;
}

struct case_plan {
    std::string description;
    bytes file;
    std::optional<path_variant> path;
    double panel_lights = 1.0;
    int detents[clicks_per_case] = {};
};

case_plan plan_case(const fuzz_inputs& inputs, std::uint32_t seed) {
    random_source random(seed);
    std::vector<wave_variant> bases = synthetic_waves();
    bases.insert(bases.begin(), wave_variant{"click.wav", inputs.click});
    // The build's click is the base of every other case.
    const wave_variant& base = (random() & 1) ? bases[0] : bases[1 + random() % (bases.size() - 1)];
    case_plan plan;
    const wave_variant wave = (random() % 10 == 0) ? base : mutate_wave(base, random);
    plan.description = wave.description;
    plan.file = wave.file;
    if (random() % 4 == 0) {
        plan.path = mutate_path(own_folder().folder(), random);
        plan.description += "; " + plan.path->description;
    }
    plan.panel_lights = (random() & 1) ? 1.0 : 0.0;
    for (int& detent : plan.detents) detent = static_cast<int>(random() % 7);
    return plan;
}

// The Play a click made, if it made one, against what the file holds.
void check_sound(const faults::ledger& ledger, std::size_t plays_before, const std::optional<expected_clip>& expected,
                 const std::string& where, case_result& result) {
    const faults::run_summary run = ledger.summary();
    if (!expected) {
        if (run.plays != plays_before) result.failures.push_back(where + "played a clip that must stay silent");
        return;
    }
    if (run.plays != plays_before + 1) {
        result.failures.push_back(where + "no clip played");
        return;
    }
    const faults::play_call& play = *run.last_play;
    if (play.result != DS_OK) result.failures.push_back(where + "Play failed");
    if (play.contents.size() != expected->buffer_bytes)
        result.failures.push_back(where + "buffer of " + std::to_string(play.contents.size()) + " bytes, not " +
                                  std::to_string(expected->buffer_bytes));
    else if (!std::equal(expected->samples.begin(), expected->samples.end(), play.contents.begin()))
        result.failures.push_back(where + "buffer holds other bytes than the file's samples");
    result.played = true;
}

}  // namespace

std::uint32_t case_seed(std::uint32_t run_seed, std::uint32_t index) {
    // Run and index mixed together (splitmix64's finalizer), so that runs
    // from neighbouring seeds share no stretch of cases.
    std::uint64_t x = (std::uint64_t{run_seed} << 32 | index) + 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return static_cast<std::uint32_t>((x ^ (x >> 31)) >> 32);
}

bytes read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return bytes(std::istreambuf_iterator<char>(in), {});
}

case_result run_case(const fuzz_inputs& inputs, std::uint32_t seed, traps::heap_layout heap, watchdog& dog) {
    const case_plan plan = plan_case(inputs, seed);
    case_result result;
    result.seed = seed;
    result.heap = heap;
    result.description = plan.description;
    dog.begin_case(seed, plan.description);
    own_folder().write(plan.file);

    standin::host_options options;
    options.panel_lights = plan.panel_lights;
    options.click_source = own_folder().clip();
    if (plan.path) {
        options.path_override = plan.path->value;
        options.registry_key = plan.path->key;
        if (!plan.path->player_name) options.player_name.reset();
    }
    // The mmio calls go to the real ones.
    standin::watched_host watched(
        options, {inputs.real_sound ? faults::sound_mode::forward : faults::sound_mode::fake, heap});
    const faults::ledger& ledger = watched.ledger;
    standin::host& host = watched.host;
    watched.load(inputs.gauge_file);
    // Where the module is to look for the clip: the host's folder, or what the value names.
    const bool clip_reachable = !plan.path || clip_path_for(*plan.path);
    std::optional<expected_clip> expected;
    if (clip_reachable) expected = expected_playback(plan.file);
    result.expected_sound = expected.has_value();

    host.query();
    host.install();
    host.initialize();
    dog.progress();
    const bool lit = standin::panel_lights_lit(plan.panel_lights);
    std::uint64_t opens_after_silence = 0;
    bool silenced = false;
    for (int i = 0; i < clicks_per_case; ++i) {
        const std::string where = "click " + std::to_string(i + 1) + ": ";
        const std::size_t plays = ledger.summary().plays;
        std::vector<std::string> failures;
        soak::click_detent(host, plan.detents[i], lit, failures);
        for (const std::string& f : failures) result.failures.push_back(where + f);
        if (inputs.real_sound) Sleep(real_mixing_ms);
        dog.progress();
        check_sound(ledger, plays, expected, where, result);
        // Once a click has failed to sound, no later click tries the file again.
        if (silenced && ledger.calls(faults::api::mmioOpenA) != opens_after_silence)
            result.failures.push_back(where + "opened the clip again after falling silent");
        if (!expected && !silenced) {
            silenced = true;
            opens_after_silence = ledger.calls(faults::api::mmioOpenA);
        }
    }
    host.kill();
    dog.progress();
    const faults::held_resources held = ledger.held();
    if (!held.none()) result.failures.push_back("held after kill: " + faults::held_text(held));
    host.unload();
    for (const std::string& error : host.errors()) result.failures.push_back("host: " + error);
    for (const std::string& problem : ledger.problems()) result.failures.push_back("ledger: " + problem);
    dog.progress();
    return result;
}

}  // namespace fuzz
