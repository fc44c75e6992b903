#include "standin/ledger/ledger.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "standin/ledger/hooks.h"

namespace faults {
namespace {

// The installed ledger; see ledger.h.
hook_target* installed_ledger = nullptr;

struct hook_entry {
    api which;
    imports::import_ref import;
    void* hook;
    bool required;  // install fails if the module doesn't import it
};

const hook_entry hooks[] = {
#define FAULTS_HOOK_ENTRY(name, dll, ordinal, required, failure) \
    {api::name, {dll, #name, ordinal}, reinterpret_cast<void*>(&hook_##name), required},
    FAULTS_IMPORTS(FAULTS_HOOK_ENTRY)
#undef FAULTS_HOOK_ENTRY
};

}  // namespace

ledger::ledger()
    : heap_([this](traps::guard_fault fault) {
          auto guard = lock();
          if (call_in_progress_) fault.where = call_in_progress_();
          state_.problems.push_back("page heap: " + traps::guard_fault_text(fault));
          state_.guard_faults.push_back(std::move(fault));
      }),
      sound_(*this) {}

ledger::~ledger() { uninstall(); }

bool ledger::install(HMODULE module, std::string* error) {
    auto guard = lock();
    auto fail = [&](std::string why) {
        patches_.clear();
        if (error) *error = std::move(why);
        return false;
    };
    if (installed_ledger) return fail("another ledger is installed");
    std::string missing;
    for (const hook_entry& entry : hooks) {
        imports::import_patch& patch = patches_.emplace_back();
        std::string why;
        if (patch.apply(module, entry.import, entry.hook, &why)) {
            originals_[index_of(entry.which)] = patch.original();
            continue;
        }
        patches_.pop_back();
        if (entry.required) missing += (missing.empty() ? "" : "; ") + why;
    }
    if (!missing.empty()) return fail(missing);
    installed_ledger = this;
    return true;
}

void ledger::uninstall() {
    auto guard = lock();
    patches_.clear();
    if (installed_ledger == this) installed_ledger = nullptr;
}

bool ledger::installed() const { return installed_ledger == this; }

bool ledger::fail(api a, unsigned nth, std::optional<long> code) {
    if (!api_can_fail(a) || nth == 0) return false;
    auto guard = lock();
    rules_.push_back({a, calls_[index_of(a)] + nth, code});
    return true;
}

void ledger::clear_failures() {
    auto guard = lock();
    rules_.clear();
}

verdict ledger::enter(api a) {
    auto guard = lock();
    verdict v;
    v.seq = ++seq_;
    std::uint64_t n = ++calls_[index_of(a)];
    for (const rule& r : rules_) {
        if (r.which != a || n != r.call) continue;
        v.fail = true;
        v.code = r.code.value_or(default_failure(a));
        ++failures_[index_of(a)];
        break;
    }
    return v;
}

std::uint64_t ledger::calls(api a) const { return copy(calls_[index_of(a)]); }

std::uint64_t ledger::failures(api a) const { return copy(failures_[index_of(a)]); }

run_summary ledger::summary() const {
    auto guard = lock();
    const sound_log& sound = sound_.recorded();
    run_summary summary{held(), sound.buffer_requests.size(), sound.plays.size()};
    if (!sound.buffer_requests.empty()) summary.last_request = sound.buffer_requests.back();
    if (!sound.plays.empty()) summary.last_play = sound.plays.back();
    return summary;
}

held_resources ledger::held() const {
    auto guard = lock();
    held_resources h;
    h.blocks = state_.memory.live.size();
    for (const auto& [handle, block] : state_.memory.live) {
        h.bytes += block.bytes;
        h.locks += block.locks;
    }
    h.keys = state_.registry.open_keys.size();
    h.files = state_.mmio.open_files.size();
    h.devices = sound_.devices_alive();
    h.buffers = sound_.buffers_alive();
    return h;
}

void ledger::name_calls_by(std::function<std::string()> call_in_progress) {
    auto guard = lock();
    call_in_progress_ = std::move(call_in_progress);
}

std::vector<traps::guard_fault> ledger::guard_faults() const { return copy(state_.guard_faults); }

std::vector<std::string> ledger::problems() const { return copy(state_.problems); }

memory_log ledger::memory() const { return copy(state_.memory); }

registry_log ledger::registry() const { return copy(state_.registry); }

mmio_log ledger::mmio() const { return copy(state_.mmio); }

std::vector<string_call> ledger::strings() const { return copy(state_.strings); }

std::vector<find_window_call> ledger::windows() const { return copy(state_.windows); }

void ledger::problem(std::string what) {
    auto guard = lock();
    state_.problems.push_back(std::move(what));
}

hook_target& hooked_ledger() {
    if (!installed_ledger) {
        std::fputs("faults: a hooked import was called with no ledger installed\n", stderr);
        std::abort();
    }
    return *installed_ledger;
}

}  // namespace faults
