#pragma once
#include <cmath>

namespace korvan {

// Rounds to the nearest integer, halves to the even one (0.5 -> 0, 1.5 -> 2, 2.5 -> 2),
// independent of the floating-point environment's rounding mode.
inline long long RoundHalfEven(double value) {
    double floor = std::floor(value);
    double diff = value - floor;
    auto lower = static_cast<long long>(floor);
    if (diff < 0.5) return lower;
    if (diff > 0.5) return lower + 1;
    return (lower % 2 == 0) ? lower : lower + 1;
}

} // namespace korvan
