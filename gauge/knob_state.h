// The dimmer's mutable state, module-wide and zero at load.
#pragma once
#include <cstdint>

#include "host/module_variable.h"
#include "res/gauge_layout.h"

constexpr uint32_t panel_lights_variable = 10;

struct knob_state_record {
    uint8_t knob_position;            // current detent, 0 to detent_count - 1
    uint8_t lights_were_on;           // panel lights at the last initialize
    module_variable panel_lights_var;
    module_variable ligar_var;        // bound by name; its storage is where the knob publishes
};

extern knob_state_record knob_state;
