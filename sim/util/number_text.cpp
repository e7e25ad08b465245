#include "util/number_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace sim {

std::string number_text(double value)
{
    char buf[40];
    if (value == std::floor(value) && std::fabs(value) < 1e15) {
        std::snprintf(buf, sizeof buf, "%.0f", value);
        return buf;
    }
    for (int digits = 1; digits <= 17; ++digits) {
        std::snprintf(buf, sizeof buf, "%.*g", digits, value);
        if (std::strtod(buf, nullptr) == value) break;
    }
    return buf;
}

}  // namespace sim
