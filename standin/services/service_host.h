// What the service entry points need of the host that serves them. The host
// implements it; the entry points see nothing else of the host.
#pragma once
#include <cstdint>

#include "standin/log/call_log.h"
#include "standin/services/mouse_table.h"
#include "standin/services/panel_variables.h"
#include "standin/services/picture_elements.h"

namespace standin {

class service_host {
public:
    // Looks at what the module changed since the last look (a write to a
    // watched variable, say), so that it is logged before the call that follows.
    virtual void observe() = 0;
    virtual call_log& service_log() = 0;
    virtual picture_elements& element_lists() = 0;
    virtual mouse_table& mouse_lists() = 0;
    virtual panel_variables& variables() = 0;
    virtual void take_key_event(uint32_t event, uint32_t value) = 0;
    // For a process about to be terminated: leaves no registry key or folder behind.
    virtual void abandon_environment() = 0;

protected:
    ~service_host() = default;
};

}  // namespace standin
