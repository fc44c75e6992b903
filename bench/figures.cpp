#include "bench/figures.h"

#include <cstdio>

std::string fixed_text(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}
