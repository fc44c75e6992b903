// The host's service table, whose address the host writes into the module's
// ImportTable. Services reach the host through one process-wide pointer to
// the active host: a module can only be told one table, and the entry points
// are plain stdcall functions with no room for a context argument. So only
// one host may exist at a time; active_host_guard enforces that.
#pragma once
#include "host/service_slots.h"

namespace standin {

class service_host;

// Slots past the ones the module uses also hold traps, so that a wrong slot
// number is caught by name rather than read as whatever follows the table.
constexpr unsigned service_table_size = 64;
static_assert(service_table_size >= service_slot_count);

// Exit code of a process whose module called a slot the host doesn't
// implement, or called a service with no host active.
constexpr int trap_exit_code = 86;

void* const* service_table();

// Makes a host the active one for its lifetime; throws std::logic_error if
// another host is active already.
class active_host_guard {
public:
    explicit active_host_guard(service_host& active);
    ~active_host_guard();
    active_host_guard(const active_host_guard&) = delete;
    active_host_guard& operator=(const active_host_guard&) = delete;
};

}  // namespace standin
