#include "soak/detent_click.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>

#include "gauge/detent_selection.h"
#include "standin/log/value_text.h"

namespace soak {
namespace {

// The value the host got from the knob icon's callback at the last update.
const double* knob_value(const standin::host& host) {
    for (const standin::element_state& state : host.elements())
        if (state.element->kind == element_icon && state.value) return &*state.value;
    return nullptr;
}

}  // namespace

void click_detent(standin::host& host, int detent, bool lit, std::vector<std::string>& failures) {
    const std::string where = "detent " + std::to_string(detent) + ": ";
    const std::size_t events = host.key_events().size();
    int hit = -1;
    try {
        hit = host.click_detent(detent);
    } catch (const std::out_of_range& e) {
        failures.push_back(where + e.what());
        return;
    }
    // Record 0 is the parent area; detent k's hot spot is record k + 1.
    if (hit != detent + 1) failures.push_back(where + "hit record " + std::to_string(hit));
    if (host.ligar_byte() != detent) failures.push_back(where + "ligar byte " + std::to_string(host.ligar_byte()));
    if (!host.ligar_guards_intact()) failures.push_back(where + "ligar guard bytes overwritten");
    const std::uint32_t wanted = lit ? event_if_lit : event_if_unlit;
    if (host.key_events().size() != events + 1)
        failures.push_back(where + std::to_string(host.key_events().size() - events) + " key events");
    else if (host.key_events().back().event != wanted)
        failures.push_back(where + "key event " + standin::hex_text(host.key_events().back().event) + ", not " + standin::hex_text(wanted));
    host.update();
    const double* value = knob_value(host);
    if (!value || *value != detent)
        failures.push_back(where + "knob value " + (value ? std::to_string(*value) : std::string("missing")));
}

}  // namespace soak
