// The variables the host lends the gauge: the panel-lights host variable,
// and the "ligar" byte another gauge on the panel publishes by name. Both
// live in host memory; the host watches them for writes by the module, and
// sees every write to "ligar", a repeated value's too.
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "host/module_variable.h"
#include "standin/log/call_log.h"
#include "standin/services/write_trap.h"

namespace standin {

constexpr uint32_t panel_lights_variable = 10;

// Whether a gauge takes a panel-lights value as lit: a number other than 0.
constexpr bool panel_lights_lit(double value) { return value == value && value != 0.0; }
constexpr uint8_t ligar_guard = 0xA5;

class panel_variables {
public:
    panel_variables(call_log& log, double panel_lights, bool publish_ligar, uint8_t ligar_initial);

    // initialize_var: false for a variable number the host doesn't have.
    bool bind(module_variable& var);
    // initialize_var_by_name: the published storage, or null for an unknown name.
    void* published(std::string_view name);

    void set_panel_lights(double value);
    double panel_lights() const { return lights_setting_; }

    uint8_t ligar_byte() const { return ligar_block()[ligar_offset]; }
    bool ligar_guards_intact() const;
    const std::vector<uint8_t>& ligar_writes() const { return ligar_writes_; }

    // Logs what the module wrote since the last look.
    void observe();

private:
    static constexpr size_t ligar_offset = 4;   // storage is 4 bytes, guards all around
    static constexpr size_t ligar_block_size = 16;
    const uint8_t* ligar_block() const { return ligar_trap_.bytes(); }

    call_log& log_;
    double lights_setting_;     // what the host set the panel lights to
    double lights_variable_;    // lent to the module, which reads it and must not write it
    bool publish_ligar_;
    write_trap ligar_trap_;
    bool guards_reported_ = false;
    bool lights_reported_ = false;
    std::vector<uint8_t> ligar_writes_;
};

}  // namespace standin
