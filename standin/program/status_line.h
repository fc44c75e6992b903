// The lines under the gauge in the window: what a person checks after a click.
#pragma once
#include <cstdint>
#include <string>

#include "standin/host/standin_host.h"

namespace standin {

// "detent 3   ligar 3   panel lights 1.0 (on)" and
// "key event 0x000100D6 (the lit one)   clips started 4".
std::string status_text(const host& h, std::uint64_t clips_started);

}  // namespace standin
