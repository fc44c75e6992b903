#include "standin/traps/guarded_pages.h"

#include <mutex>
#include <utility>
#include <vector>

#include "standin/traps/fault_address.h"

namespace traps {
namespace {

std::mutex registry_lock;
std::vector<page_watcher*> watchers;
void* handler = nullptr;

// The bytes a fault may have touched from the address it gives: one when the
// platform reports it, up to the widest access an instruction of this
// processor makes when it is worked out from the instruction (see
// fault_address.h), which may start inside a block and run on past it.
std::size_t fault_span(const EXCEPTION_RECORD& record) {
    return record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION ? 1 : 16;
}

LONG CALLBACK on_exception(EXCEPTION_POINTERS* info) {
    const std::optional<memory_access> access = faulting_access(*info);
    if (!access) return EXCEPTION_CONTINUE_SEARCH;
    const fault_touch touch{access->address, fault_span(*info->ExceptionRecord), access->write};
    std::optional<std::function<void()>> claimed;
    {
        std::lock_guard hold(registry_lock);
        for (page_watcher* watcher : watchers) {
            claimed = watcher->claim(touch);
            if (claimed) break;
        }
    }
    if (!claimed) return EXCEPTION_CONTINUE_SEARCH;
    if (*claimed) (*claimed)();
    return EXCEPTION_CONTINUE_EXECUTION;
}

}  // namespace

watch_registration::watch_registration(page_watcher& watcher) : watcher_(watcher) {
    std::lock_guard hold(registry_lock);
    if (!handler) handler = AddVectoredExceptionHandler(1, on_exception);
    if (!handler) return;
    watchers.push_back(&watcher_);
    active_ = true;
}

watch_registration::~watch_registration() {
    std::lock_guard hold(registry_lock);
    if (!active_) return;
    std::erase(watchers, &watcher_);
    if (watchers.empty()) {
        RemoveVectoredExceptionHandler(handler);
        handler = nullptr;
    }
}

}  // namespace traps
