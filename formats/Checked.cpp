#include "Checked.h"

#include <cstdio>

namespace brenvik::checked {

std::string valueText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

}  // namespace brenvik::checked
