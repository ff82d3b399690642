#pragma once

#include <string>

namespace brillora {

// Fixed-point text with a point as decimal separator whatever the locale,
// right-aligned with leading spaces to at least `width` characters.
std::string FormatFixed(double value, int width, int decimals);

// Rounds to the nearest integer, halves to even.
double RoundHalfEven(double value);

}  // namespace brillora
