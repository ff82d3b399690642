#include "model/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace brillora {

std::string FormatFixed(double value, int width, int decimals) {
  std::array<char, 400> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::fixed, decimals);
  std::string text(buffer.data(), result.ec == std::errc() ? result.ptr : buffer.data());
  if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), ' ');
  return text;
}

std::string FormatExact(double value, int width, int minDecimals) {
  if (std::isnan(value)) value = 0.0;
  value = std::clamp(value, -std::numeric_limits<double>::max(), std::numeric_limits<double>::max());
  std::array<char, 400> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed);
  std::string text(buffer.data(), result.ec == std::errc() ? result.ptr : buffer.data());
  const std::size_t point = text.find('.');
  const int decimals = point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
  if (decimals < minDecimals) {
    if (point == std::string::npos) text += '.';
    text.append(static_cast<std::size_t>(minDecimals - decimals), '0');
  }
  if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), ' ');
  return text;
}

double RoundHalfEven(double value) { return std::nearbyint(value); }

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Optional sign, digits with an optional point, optional exponent; nothing else.
bool IsCleanNumber(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t exponentDigits = 0;
    while (i < text.size() && IsDigit(text[i])) ++i, ++exponentDigits;
    if (exponentDigits == 0) return false;
  }
  return i == text.size();
}

}  // namespace

bool ParseCleanNumber(std::string_view text, double& value) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  if (!IsCleanNumber(text)) return false;
  if (text.front() == '+') text.remove_prefix(1);  // from_chars takes no plus sign
  double parsed = 0.0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (result.ec != std::errc() || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

}  // namespace brillora
