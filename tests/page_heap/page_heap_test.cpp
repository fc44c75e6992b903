// The page heap against a probe module that makes one memory fault a case:
// each must be found as that fault, with its block, its offset and the host
// call that made it, and the probe without a fault must pass. And its
// answers to GlobalLock, GlobalUnlock and GlobalFree must be the platform's.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "standin/watched_host/watched_host.h"

namespace {

using traps::guard_fault;
using traps::heap_layout;
using touch = traps::guard_fault::touch;

struct probe_run {
    std::vector<guard_fault> findings;
    std::vector<std::string> problems;
    faults::held_resources held;
};

probe_run run_probe(const char* fault, heap_layout layout) {
    standin::watched_host watched({}, {faults::sound_mode::fake, layout});
    const faults::ledger& ledger = watched.ledger;
    standin::host& host = watched.host;
    watched.load(PROBE_FILE);
    auto* chosen = reinterpret_cast<char*>(GetProcAddress(host.module(), "probe_fault"));
    if (!chosen) throw std::runtime_error("the probe exports no probe_fault");
    std::strcpy(chosen, fault);
    host.install();
    host.initialize();
    host.kill();
    probe_run run{ledger.guard_faults(), ledger.problems(), ledger.held()};
    host.unload();
    return run;
}

// The probe's one fault is found as `expected`, reported in the words of
// `line`, and nothing else is wrong.
void expect_found(const char* fault, heap_layout layout, const guard_fault& expected, const std::string& line) {
    const probe_run run = run_probe(fault, layout);
    EXPECT_TRUE(run.held.none()) << run.held;
    ASSERT_EQ(run.findings.size(), 1u);
    const guard_fault& found = run.findings[0];
    EXPECT_EQ(found.what, expected.what);
    EXPECT_STREQ(found.access, expected.access);
    EXPECT_STREQ(found.block, expected.block);
    EXPECT_EQ(found.size, expected.size);
    EXPECT_EQ(found.offset, expected.offset);
    EXPECT_EQ(found.where, expected.where);
    EXPECT_EQ(run.problems, std::vector<std::string>{"page heap: " + line});
}

TEST(page_heap, read_past_block) {
    expect_found("read_past_block", heap_layout::guard_after, {touch::past_end, "read", "GlobalAlloc block", 24, 24, "initialize"},
                 "read past the end of a 24-byte GlobalAlloc block, at offset 24, during initialize");
}

TEST(page_heap, write_before_block) {
    expect_found("write_before_block", heap_layout::guard_before,
                 {touch::before_start, "write", "GlobalAlloc block", 24, -1, "initialize"},
                 "write before the start of a 24-byte GlobalAlloc block, at offset -1, during initialize");
}

TEST(page_heap, read_after_free) {
    expect_found("read_after_free", heap_layout::guard_after, {touch::after_free, "read", "GlobalAlloc block", 24, 0, "initialize"},
                 "read after the free of a 24-byte GlobalAlloc block, at offset 0, during initialize");
}

TEST(page_heap, write_past_lock) {
    expect_found("write_past_lock", heap_layout::guard_before, {touch::past_end, "write", "sound buffer", 1000, 1000, "initialize"},
                 "write past the end of a 1000-byte sound buffer, at offset 1000, during initialize");
}

TEST(page_heap, clean_probe) {
    for (heap_layout layout : {heap_layout::guard_after, heap_layout::guard_before}) {
        const probe_run run = run_probe("clean", layout);
        EXPECT_TRUE(run.findings.empty()) << traps::layout_name(layout);
        EXPECT_TRUE(run.problems.empty()) << traps::layout_name(layout) << ": " << run.problems.front();
        EXPECT_TRUE(run.held.none()) << run.held;
    }
}

// One sequence of calls on a fixed, a moveable and a 0-byte block, with each
// answer and last error, from the platform's heap and from the page heap.
std::vector<std::string> answers(const std::function<HGLOBAL(UINT, SIZE_T)>& alloc,
                                 const std::function<void*(HGLOBAL)>& lock,
                                 const std::function<BOOL(HGLOBAL)>& unlock,
                                 const std::function<HGLOBAL(HGLOBAL)>& free) {
    std::vector<std::string> seen;
    auto note = [&seen](const char* step, bool value) {
        seen.push_back(std::string(step) + " " + (value ? "yes" : "no") + " error " + std::to_string(GetLastError()));
    };
    for (UINT flags : {UINT{GMEM_FIXED}, UINT{GMEM_MOVEABLE}, UINT{GMEM_MOVEABLE | GMEM_ZEROINIT}})
        for (SIZE_T bytes : {SIZE_T{0}, SIZE_T{40}}) {
            SetLastError(0);
            HGLOBAL block = alloc(flags, bytes);
            note("alloc", block != nullptr);
            if (!block) continue;
            SetLastError(0);
            auto* p = static_cast<unsigned char*>(lock(block));
            note("lock", p != nullptr);
            if (p && (flags & GMEM_ZEROINIT)) note("zeroed", p[0] == 0 && p[bytes - 1] == 0);
            for (int i = 0; i < 3; ++i) {
                SetLastError(0);
                note("unlock", unlock(block));
            }
            SetLastError(0);
            note("free", free(block) == nullptr);
            SetLastError(0);
            note("lock after free", lock(block) != nullptr);
        }
    return seen;
}

TEST(page_heap, answers_as_the_platform_does) {
    const std::vector<std::string> platform = answers(GlobalAlloc, GlobalLock, GlobalUnlock, GlobalFree);
    traps::page_heap heap([](guard_fault) {});
    heap.set_layout(heap_layout::guard_after);
    // What the memory hooks do: the page heap's answer for its own handles, the platform's for the rest.
    const std::vector<std::string> paged = answers(
        [&heap](UINT flags, SIZE_T bytes) { return heap.takes(bytes) ? heap.alloc(flags, bytes) : GlobalAlloc(flags, bytes); },
        [&heap](HGLOBAL block) {
            const std::optional<void*> own = heap.lock(block);
            return own ? *own : GlobalLock(block);
        },
        [&heap](HGLOBAL block) {
            const std::optional<BOOL> own = heap.unlock(block);
            return own ? *own : GlobalUnlock(block);
        },
        [&heap](HGLOBAL block) {
            const std::optional<HGLOBAL> own = heap.free(block);
            return own ? *own : GlobalFree(block);
        });
    EXPECT_EQ(paged, platform);
}

}  // namespace
