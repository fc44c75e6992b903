#include "standin/log/value_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace standin {

std::string number_text(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    char text[40];
    for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(text, sizeof text, "%.*g", precision, value);
        if (std::strtod(text, nullptr) == value) break;
    }
    std::string result = text;
    if (result.find_first_of(".e") == std::string::npos) result += ".0";
    return result;
}

std::string hex_text(uintptr_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
    return text;
}

}  // namespace standin
