#include "standin/faults/ledger.h"

#include <cstdio>
#include <cstdlib>
#include <limits>

#include "standin/faults/hook_table.h"

namespace faults {
namespace {

// The installed ledger; see ledger.h.
ledger* installed_ledger = nullptr;

}  // namespace

ledger::ledger() : sound_(*this) {}

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
    for (auto family : {memory_hooks(), string_hooks(), window_hooks(), registry_hooks(),
                        mmio_hooks(), sound_hooks()}) {
        for (const hook_entry& entry : family) {
            import_patch patch;
            std::string why;
            if (!patch.apply(module, entry.import, entry.hook, &why)) {
                if (entry.required) missing += (missing.empty() ? "" : "; ") + why;
                continue;
            }
            originals_[index_of(entry.which)] = patch.original();
            patches_.push_back(std::move(patch));
        }
    }
    if (!missing.empty()) return fail(missing);
    // Patching succeeded, so the headers are those of a valid image.
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(
        reinterpret_cast<const BYTE*>(module) +
        reinterpret_cast<const IMAGE_DOS_HEADER*>(module)->e_lfanew);
    image_begin_ = reinterpret_cast<const BYTE*>(module);
    image_end_ = image_begin_ + nt->OptionalHeader.SizeOfImage;
    installed_ledger = this;
    return true;
}

void ledger::uninstall() {
    auto guard = lock();
    patches_.clear();
    if (installed_ledger == this) installed_ledger = nullptr;
}

bool ledger::installed() const { return installed_ledger == this; }

bool ledger::add_rule(api a, unsigned nth, bool onwards, std::optional<long> code) {
    if (!api_can_fail(a) || nth == 0) return false;
    auto guard = lock();
    std::uint64_t first = calls_[index_of(a)] + nth;
    rules_.push_back({a, first, onwards ? std::numeric_limits<std::uint64_t>::max() : first, code});
    return true;
}

bool ledger::fail(api a, unsigned nth, std::optional<long> code) {
    return add_rule(a, nth, false, code);
}

bool ledger::fail_from(api a, unsigned nth, std::optional<long> code) {
    return add_rule(a, nth, true, code);
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
        if (r.which != a || n < r.first || n > r.last) continue;
        v.fail = true;
        v.code = r.code.value_or(default_failure(a));
        ++failures_[index_of(a)];
        break;
    }
    return v;
}

std::uint64_t ledger::calls(api a) const {
    auto guard = lock();
    return calls_[index_of(a)];
}

std::uint64_t ledger::failures(api a) const {
    auto guard = lock();
    return failures_[index_of(a)];
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

std::vector<std::string> ledger::problems() const {
    auto guard = lock();
    return state_.problems;
}

memory_log ledger::memory() const {
    auto guard = lock();
    return state_.memory;
}

registry_log ledger::registry() const {
    auto guard = lock();
    return state_.registry;
}

mmio_log ledger::mmio() const {
    auto guard = lock();
    return state_.mmio;
}

std::vector<string_call> ledger::strings() const {
    auto guard = lock();
    return state_.strings;
}

std::vector<find_window_call> ledger::windows() const {
    auto guard = lock();
    return state_.windows;
}

void ledger::problem(std::string what) {
    auto guard = lock();
    state_.problems.push_back(std::move(what));
}

bool ledger::in_module(const void* p) const {
    auto b = static_cast<const BYTE*>(p);
    return b && b >= image_begin_ && b < image_end_;
}

HGLOBAL ledger::block_containing(const void* p) const {
    auto guard = lock();
    auto b = static_cast<const BYTE*>(p);
    for (const auto& [handle, block] : state_.memory.live) {
        auto base = static_cast<const BYTE*>(block.base);
        if (base && b >= base && b < base + block.bytes) return handle;
    }
    return nullptr;
}

ledger& hooked_ledger() {
    if (!installed_ledger) {
        std::fputs("faults: a hooked import was called with no ledger installed\n", stderr);
        std::abort();
    }
    return *installed_ledger;
}

}  // namespace faults
