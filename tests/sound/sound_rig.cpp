#include "tests/sound/sound_rig.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace sound_tests {
namespace {

DWORD WINAPI run_step(void* step) {
    (*static_cast<const std::function<void()>*>(step))();
    return 0;
}

}  // namespace

sound_rig::sound_rig(standin::host_options options, faults::sound_mode mode)
    : watched_(observed(std::move(options)), {mode, traps::heap_layout::guard_after}),
      ledger(watched_.ledger),
      host(watched_.host) {
    watched_.load(GAUGE_FILE);
}

sound_rig::~sound_rig() {
    for (const std::string& problem : ledger.problems()) ADD_FAILURE() << "ledger: " << problem;
}

standin::host_options sound_rig::observed(standin::host_options options) {
    options.sink = [this, also = std::move(options.sink)](const std::string& line) {
        host_lines_.emplace_back(line, calls_so_far());
        if (also) also(line);
    };
    return options;
}

void sound_rig::click(int detent) {
    ASSERT_NE(host.click_detent(detent), -1)
        << "no handler ran for detent " << detent;
}

uint32_t sound_rig::knob_frame() {
    host.frame();
    for (const standin::element_state& state : host.elements())
        if (state.element->kind == element_icon) return state.frame;
    ADD_FAILURE() << "the gauge shows no knob";
    return 0;
}

uint64_t sound_rig::calls_so_far() const {
    uint64_t total = 0;
    for (std::size_t a = 0; a < faults::api_count; ++a) total += watched_.ledger.calls(static_cast<faults::api>(a));
    return total;
}

uint64_t sound_rig::calls_before_line(const std::string& prefix) const {
    for (const auto& [line, calls] : host_lines_)
        if (line.rfind(prefix, 0) == 0) return calls;
    ADD_FAILURE() << "the host logged no " << prefix;
    return 0;
}

void call_counts::restart() {
    for (std::size_t a = 0; a < faults::api_count; ++a) start_[a] = ledger_.calls(static_cast<faults::api>(a));
}

std::string sound_rig::sound_folder() const { return host.install_folder_path() + "\\\\Sound\\"; }

void sound_rig::put_clip(const wave::bytes& file) const {
    const std::string path = host.install_folder_path() + "\\Sound\\click.wav";
    CreateDirectoryA((host.install_folder_path() + "\\Sound").c_str(), nullptr);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

bool click_opens_clip(sound_rig& rig, int detent) {
    const uint64_t before = rig.opens();
    rig.click(detent);
    return rig.opens() > before;
}

void within_time_limit(const std::function<void()>& step, DWORD limit_ms) {
    HANDLE thread = CreateThread(nullptr, 0, run_step, const_cast<std::function<void()>*>(&step), 0,
                                 nullptr);
    ASSERT_NE(thread, nullptr);
    const DWORD waited = WaitForSingleObject(thread, limit_ms);
    if (waited != WAIT_OBJECT_0) {
        std::fprintf(stderr, "FAILED: the click had not returned after %lu ms\n",
                     static_cast<unsigned long>(limit_ms));
        std::fflush(stderr);
        TerminateProcess(GetCurrentProcess(), 3);
    }
    CloseHandle(thread);
}

}  // namespace sound_tests
