// A host whose module the ledger watches from before its module_init on:
// the ledger goes onto the module's imports as the host loads it, and names
// what it finds by the host call in progress. The ledger is made first and
// outlives the module, whose DirectSound objects live in it.
#pragma once
#include <windows.h>

#include <string>

#include "standin/host/standin_host.h"
#include "standin/ledger/ledger.h"
#include "standin/traps/page_heap.h"

namespace standin {

struct watch_settings {
    faults::sound_mode sound = faults::sound_mode::fake;
    traps::heap_layout heap = traps::heap_layout::platform;   // where the module's blocks come from
    // A module the ledger cannot be installed on (one that lacks an import
    // the ledger hooks) runs unwatched instead of being refused.
    bool unwatched_runs = false;
};

class watched_host {
public:
    explicit watched_host(host_options options = {}, watch_settings settings = {});
    watched_host(const watched_host&) = delete;
    watched_host& operator=(const watched_host&) = delete;

    // host::load. Throws std::runtime_error saying why when the ledger could
    // not be installed, unless an unwatched module runs (install_error() then says why).
    void load(const std::string& gau_path);
    void load(HMODULE module, const std::string& gau_path);
    const std::string& install_error() const { return install_error_; }

    faults::ledger ledger;  // first: made before the host, gone after it

private:
    host_options watching(host_options options);
    void check_installed() const;

    bool unwatched_runs_;
    std::string install_error_;

public:
    standin::host host;
};

}  // namespace standin
