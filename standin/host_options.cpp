#include "host_options.h"

namespace standin {

std::string default_click_source() { return STANDIN_CLICK_WAV; }

}  // namespace standin
