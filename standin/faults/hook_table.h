// The imports each hook family replaces. install() patches them all.
#pragma once
#include <span>

#include "standin/faults/api.h"
#include "standin/faults/import_patch.h"

namespace faults {

struct hook_entry {
    api which;
    import_ref import;
    void* hook;
    bool required;  // install fails if the module doesn't import it
};

std::span<const hook_entry> memory_hooks();
std::span<const hook_entry> string_hooks();
std::span<const hook_entry> window_hooks();
std::span<const hook_entry> registry_hooks();
std::span<const hook_entry> mmio_hooks();
std::span<const hook_entry> sound_hooks();

}  // namespace faults
