#include "standin/services/panel_variables.h"

#include <cstring>
#include <string>

#include "standin/log/value_text.h"

namespace standin {

panel_variables::panel_variables(call_log& log, double panel_lights, bool publish_ligar,
                                 uint8_t ligar_initial)
    : log_(log),
      lights_setting_(panel_lights),
      lights_variable_(panel_lights),
      publish_ligar_(publish_ligar) {
    uint8_t* block = ligar_trap_.bytes();
    std::memset(block, ligar_guard, ligar_block_size);
    block[ligar_offset] = ligar_initial;
    ligar_trap_.take_write();
}

bool panel_variables::bind(module_variable& var) {
    if (var.number != panel_lights_variable) return false;
    var.value = lights_variable_;
    var.storage = &lights_variable_;
    return true;
}

void* panel_variables::published(std::string_view name) {
    if (!publish_ligar_ || name != "ligar") return nullptr;
    return ligar_trap_.bytes() + ligar_offset;
}

void panel_variables::set_panel_lights(double value) {
    lights_setting_ = value;
    lights_variable_ = value;
    lights_reported_ = false;
}

bool panel_variables::ligar_guards_intact() const {
    for (size_t i = 0; i < ligar_block_size; ++i)
        if (i != ligar_offset && ligar_block()[i] != ligar_guard) return false;
    return true;
}

void panel_variables::observe() {
    if (ligar_trap_.take_write()) {
        ligar_writes_.push_back(ligar_byte());
        log_.line("ligar = " + std::to_string(ligar_byte()));
    }
    if (!guards_reported_ && !ligar_guards_intact()) {
        guards_reported_ = true;
        log_.error("the module wrote past the ligar byte");
    }
    // Bytes, not ==, so that a NaN setting still compares equal to itself.
    if (!lights_reported_ && std::memcmp(&lights_variable_, &lights_setting_, sizeof lights_setting_) != 0) {
        lights_reported_ = true;
        log_.error("the module wrote the panel-lights variable: " + number_text(lights_variable_));
    }
}

}  // namespace standin
