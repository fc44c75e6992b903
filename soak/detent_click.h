// One click on a detent's mark, and the checks every load run makes of it:
// the handler that ran, the knob's value, the published "ligar" byte and its
// guards, and the key event for the panel lights (`lit`: see
// standin::panel_lights_lit).
#pragma once
#include <string>
#include <vector>

#include "standin/host/standin_host.h"

namespace soak {

// Clicks the centre of `detent`'s hot spot; appends what went wrong to `failures`.
void click_detent(standin::host& host, int detent, bool lit, std::vector<std::string>& failures);

}  // namespace soak
