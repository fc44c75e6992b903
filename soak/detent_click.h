// One click on a detent's mark, and the checks every load run makes of it:
// the handler that ran, the knob's value, the published "ligar" byte and its
// guards, and the key event for the panel lights.
#pragma once
#include <string>
#include <vector>

#include "standin/host/standin_host.h"

namespace load {

// The lights value at initialize decides the event: lit when it is a number other than 0.
bool lights_lit(double panel_lights);

// Clicks the centre of `detent`'s hot spot; appends what went wrong to `failures`.
void click_detent(standin::host& host, int detent, bool lit, std::vector<std::string>& failures);

}  // namespace load
