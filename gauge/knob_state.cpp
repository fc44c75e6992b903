#include "gauge/knob_state.h"

constinit knob_state_record knob_state = {
    .knob_position = 0,
    .lights_were_on = 0,
    .panel_lights_var = {.number = panel_lights_variable, .storage = nullptr, .word = 0, .value = 0.0, .further = {}},
    .ligar_var = {},
};
