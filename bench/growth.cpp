// Growth: what the module holds (ledger, Wine's real DirectSound) as clicks
// and re-initializations pile up, and after its kill. Right after a burst of
// clicks the count of buffers depends on how many clips are still sounding,
// so each stage's last click comes once the sound has gone quiet: the module
// has then let go of every finished clip and holds exactly the new one.
#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "bench/figures.h"
#include "standin/watched_host/watched_host.h"

namespace {

// Well past the 45 ms clip and the device's own latency.
constexpr DWORD quiet_ms = 1000;

struct stage {
    const char* name;
    faults::held_resources held;
};

bool no_more_than(const faults::held_resources& a, const faults::held_resources& b) {
    return a.blocks <= b.blocks && a.files <= b.files && a.buffers <= b.buffers && a.devices <= b.devices;
}

}  // namespace

void measure_growth(const std::string& gauge_file, figures& out) {
    standin::watched_host watched({}, {faults::sound_mode::forward});
    standin::host& host = watched.host;
    const faults::ledger& ledger = watched.ledger;
    watched.load(gauge_file);
    host.query();
    host.install();
    host.initialize();

    const int detents = static_cast<int>(host.mouse().hot_spots().size());
    std::vector<stage> stages;
    std::size_t most_buffers = 0;
    int done = 0;
    auto click = [&] {
        host.click_detent(done++ % detents);
        most_buffers = std::max(most_buffers, ledger.held().buffers);
    };
    for (int target : {10, 1000, 10000}) {
        while (done < target - 1) click();
        Sleep(quiet_ms);
        click();
        stages.push_back({target == 10 ? "after 10 clicks" : target == 1000 ? "after 1,000 clicks" : "after 10,000 clicks",
                          ledger.held()});
    }
    for (int i = 0; i < 1000; ++i) {
        host.kill();
        host.install();
        host.initialize();
    }
    stages.push_back({"after 1,000 kill/install/initialize", ledger.held()});
    host.kill();
    const faults::held_resources after_kill = ledger.held();
    host.unload();

    out.push_back({"most buffers held at once while clicking", std::to_string(most_buffers),
                   "<= 8 (7 still sounding + the latest)", most_buffers <= 8});
    // Flat: nothing held later than after the first few clicks.
    for (const stage& s : stages) {
        const bool flat = no_more_than(s.held, stages.front().held);
        out.push_back({std::string("held ") + s.name, faults::held_text(s.held), "no more than after 10 clicks", flat});
    }
    out.push_back({"held after kill", faults::held_text(after_kill), "none", after_kill.none()});
    const auto problems = ledger.problems();
    out.push_back({"ledger problems", std::to_string(problems.size()), "0", problems.empty()});
}
