#pragma once

#include <string>
#include <string_view>

namespace brillora {

// Fixed-point text with a point as decimal separator whatever the locale,
// right-aligned with leading spaces to at least `width` characters.
std::string FormatFixed(double value, int width, int decimals);

// The shortest fixed-point text that reads back as exactly `value` (the
// nearest double to it is `value` itself), with at least `minDecimals`
// decimals, right-aligned like FormatFixed. A value that is not finite is
// written as the nearest finite one.
std::string FormatExact(double value, int width, int minDecimals);

// Rounds to the nearest integer, halves to even.
double RoundHalfEven(double value);

// The one reader of typed and stored numbers: leading spaces, an optional
// sign, digits with an optional point, an optional exponent, and nothing
// else; the value must be finite. False, leaving `value` alone, for anything
// else ("inf", "nan", "0x1", "1e", "3.5x", a trailing space, an empty text).
bool ParseCleanNumber(std::string_view text, double& value);

}  // namespace brillora
