// The variables the host lends the gauge: the panel-lights host variable,
// and the "ligar" byte another gauge on the panel publishes by name. Both
// live in host memory; the host watches them for writes by the module.
#pragma once
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "call_log.h"
#include "host/module_variable.h"

namespace standin {

constexpr uint32_t panel_lights_variable = 10;
constexpr uint8_t ligar_guard = 0xA5;

class panel_variables {
public:
    panel_variables(call_log& log, double panel_lights, bool publish_ligar, uint8_t ligar_initial);

    // initialize_var: false for a variable number the host doesn't have.
    bool bind(module_variable& var);
    // initialize_var_by_name: the published storage, or null for an unknown name.
    void* published(std::string_view name);

    void set_panel_lights(double value);
    double panel_lights() const { return lights_; }
    const double* panel_lights_storage() const { return &lights_storage_; }

    uint8_t ligar_byte() const { return ligar_block_[ligar_offset]; }
    bool ligar_guards_intact() const;
    const std::vector<uint8_t>& ligar_writes() const { return ligar_writes_; }

    // Logs any change the module made since the last look.
    void observe();

private:
    static constexpr size_t ligar_offset = 4;   // storage is 4 bytes, guards all around

    call_log& log_;
    double lights_;
    double lights_storage_;
    bool publish_ligar_;
    alignas(8) std::array<uint8_t, 16> ligar_block_;
    uint8_t ligar_seen_;
    bool guards_reported_ = false;
    bool lights_reported_ = false;
    std::vector<uint8_t> ligar_writes_;
};

}  // namespace standin
