#include "standin/watched_host/watched_host.h"

#include <stdexcept>
#include <utility>

namespace standin {

watched_host::watched_host(host_options options, watch_settings settings)
    : unwatched_runs_(settings.unwatched_runs), host(watching(std::move(options))) {
    ledger.set_sound_mode(settings.sound);
    ledger.use_heap(settings.heap);
    ledger.name_calls_by([this] { return host.call_in_progress(); });
}

host_options watched_host::watching(host_options options) {
    options.before_module_init = [this, also = std::move(options.before_module_init)](HMODULE module) {
        ledger.install(module, &install_error_);
        if (also) also(module);
    };
    return options;
}

void watched_host::load(const std::string& gau_path) {
    host.load(gau_path);
    check_installed();
}

void watched_host::load(HMODULE module, const std::string& gau_path) {
    host.load(module, gau_path);
    check_installed();
}

void watched_host::check_installed() const {
    if (!ledger.installed() && !unwatched_runs_)
        throw std::runtime_error("cannot install the ledger: " + install_error_);
}

}  // namespace standin
