// The stand-in's own memory over re-installs: the process's private bytes
// after 10 and after 1,000 kill, install and initialize cycles of one loaded
// gauge, the window's L key done over and over, with the log kept nowhere as
// in standin.exe. Whatever a kill ends must go back: the figure stays flat.
#include <windows.h>

#include <cstddef>
#include <string>

#include "bench/figures.h"
#include "standin/host/standin_host.h"

namespace {

// Growth that heap fragmentation alone can make; a bitmap kept per re-install
// would add about 19 KiB each time, 18 MiB over the run.
constexpr std::size_t tolerated_bytes = 256 * 1024;

// The process's committed private memory, region by region: under Wine on
// some machines GetProcessMemoryInfo gives no private bytes at all.
std::size_t private_bytes() {
    std::size_t total = 0;
    MEMORY_BASIC_INFORMATION region;
    for (auto* at = static_cast<const char*>(nullptr);
         VirtualQuery(at, &region, sizeof region) == sizeof region; at += region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
        if (at + region.RegionSize < at) break;   // the top of the address space
    }
    return total;
}

std::string kib_text(std::size_t bytes) { return fixed_text(double(bytes) / 1024, 0) + " KiB"; }

}  // namespace

void measure_standin_memory(const std::string& gauge_file, figures& out) {
    standin::host_options options;
    options.keep_log = false;
    standin::host host(options);
    host.load(gauge_file);
    host.install();
    host.initialize();
    int reinstalls = 0;
    auto reinstall_until = [&](int count) {
        for (; reinstalls < count; ++reinstalls) {
            host.kill();
            host.install();
            host.initialize();
        }
    };
    reinstall_until(10);
    const std::size_t after_10 = private_bytes();
    reinstall_until(1000);
    const std::size_t after_1000 = private_bytes();
    host.unload();
    out.push_back({"stand-in's private bytes after 10 re-installs", kib_text(after_10), "", true});
    out.push_back({"stand-in's private bytes after 1,000 re-installs", kib_text(after_1000),
                   "no more than " + kib_text(after_10 + tolerated_bytes), after_1000 <= after_10 + tolerated_bytes});
}
