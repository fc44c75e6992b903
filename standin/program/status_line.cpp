#include "standin/program/status_line.h"

#include "gauge/detent_selection.h"
#include "standin/log/value_text.h"

namespace standin {

namespace {

std::string detent_text(const host& h) {
    for (const element_state& state : h.elements())
        if (state.value) return number_text(*state.value);
    return "-";
}

std::string key_event_text(const host& h) {
    if (h.key_events().empty()) return "none yet";
    const uint32_t event = h.key_events().back().event;
    return hex_text(event) + (event == event_if_lit     ? " (the lit one)"
                              : event == event_if_unlit ? " (the unlit one)"
                                                        : " (unknown)");
}

}  // namespace

std::string status_text(const host& h, std::uint64_t clips_started) {
    const double lights = h.panel_lights();
    return "detent " + detent_text(h) + "   ligar " + std::to_string(h.ligar_byte()) + "   panel lights " +
           number_text(lights) + (panel_lights_lit(lights) ? " (on)" : " (off)") + "\nkey event " + key_event_text(h) +
           "   clips started " + std::to_string(clips_started);
}

}  // namespace standin
