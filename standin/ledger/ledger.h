// The resource ledger and fault plan for one loaded module.
//
// install() rewrites the module's import table so that its calls to memory,
// string, window, registry, mmio and DirectSound functions go through hooks
// that count them, record their arguments, track what the module holds and,
// when asked, fail a chosen call the way the real function fails, without
// calling it.
//
// At most one ledger is installed at a time: the hooks reach it through a
// module-level pointer that install() sets and uninstall() (or the
// destructor) clears. Destroy the ledger only after the module is unloaded:
// the DirectSound objects it handed out live in it until then.
#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <list>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "standin/imports/import_patch.h"
#include "standin/ledger/api.h"
#include "standin/ledger/hook_target.h"
#include "standin/ledger/records.h"
#include "standin/ledger/sound_recorder.h"
#include "standin/ledger/sound_records.h"
#include "standin/traps/page_heap.h"

namespace faults {

// What a run has come to, read in one go: what the module holds, how many
// sound buffers it asked for and clips it started, and the last of each.
struct run_summary {
    held_resources held;
    std::size_t buffer_requests = 0;
    std::size_t plays = 0;
    std::optional<buffer_request> last_request;
    std::optional<play_call> last_play;  // with the buffer's contents at Play
};

class ledger : private hook_target {
public:
    ledger();
    ~ledger();
    ledger(const ledger&) = delete;
    ledger& operator=(const ledger&) = delete;

    // Patches every hooked import of `module`. Fails, patching nothing, when
    // another ledger is installed or the module lacks a required import (all
    // but lstrlenA and mmioSeek); `error` then says which.
    bool install(HMODULE module, std::string* error = nullptr);
    // Restores the module's import table (skipped if it is already unloaded).
    void uninstall();
    bool installed() const;

    // Fail the nth call of `a` from now (1 = the next one), once. `code`
    // replaces the default failure (see default_failure). For DirectSound
    // methods a success code such as S_FALSE makes the call go through and
    // report that code. False for Release, which cannot fail, or nth == 0.
    bool fail(api a, unsigned nth, std::optional<long> code = {});
    void clear_failures();

    // Where the module's GlobalAlloc blocks come from from now on: the
    // platform's heap (the default) or the page heap (see page_heap.h). The
    // fake device's buffers always end at a no-access page.
    void use_heap(traps::heap_layout layout) { heap_.set_layout(layout); }
    // Where the module's DirectSound goes, for devices created from now on.
    void set_sound_mode(sound_mode mode) { sound_.set_mode(mode); }
    // Ends buffer#n's playback as if it had played out; false when the
    // module holds no such buffer.
    bool finish_playing(int buffer) { return sound_.finish_playing(buffer); }
    // What a finding gives as the host call in progress ("initialize", "the
    // mouse handler of detent 3"); asked on the thread that made the finding.
    void name_calls_by(std::function<std::string()> call_in_progress);

    std::uint64_t calls(api a) const;     // since construction, failed ones included
    std::uint64_t failures(api a) const;  // injected failures
    held_resources held() const;
    run_summary summary() const;
    // Misuse seen: unbalanced unlocks, frees or closes of handles the module
    // doesn't hold, DirectSound objects used after their last Release, calls
    // of DirectSound methods the module is not expected to make...
    std::vector<std::string> problems() const;

    memory_log memory() const;
    registry_log registry() const;
    mmio_log mmio() const;
    std::vector<string_call> strings() const;
    std::vector<find_window_call> windows() const;
    // The module's accesses to a block's guard page or freed pages.
    std::vector<traps::guard_fault> guard_faults() const;
    // Every DirectSound call the module made, and what came of it.
    sound_log sound_calls() const { return sound_.log(); }

private:
    // What the hooks and the recording layer reach.
    std::unique_lock<std::recursive_mutex> lock() const override { return std::unique_lock(mutex_); }
    verdict enter(api a) override;
    void problem(std::string what) override;
    traps::page_heap& page_heap() override { return heap_; }
    ledger_state& state() override { return state_; }
    void* original(api a) const override { return originals_[index_of(a)]; }
    sound_recorder& sound() override { return sound_; }

    struct rule {
        api which;
        std::uint64_t call;  // the absolute call number to fail
        std::optional<long> code;
    };
    template <class T>
    T copy(const T& part) const {
        auto guard = lock();
        return part;
    }

    mutable std::recursive_mutex mutex_;
    std::array<std::uint64_t, api_count> calls_{};
    std::array<std::uint64_t, api_count> failures_{};
    std::array<void*, api_count> originals_{};
    std::vector<rule> rules_;
    std::uint64_t seq_ = 0;
    ledger_state state_;
    std::list<imports::import_patch> patches_;
    std::function<std::string()> call_in_progress_;
    // Before the sound: the fake device's buffers live in it.
    traps::page_heap heap_;
    sound_recorder sound_;
};

}  // namespace faults
