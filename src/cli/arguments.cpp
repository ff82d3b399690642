#include "cli/arguments.h"

#include <charconv>
#include <cmath>

namespace brillora::cli {

std::optional<double> ParseNumber(const std::string& text) {
  const char* begin = text.data();
  if (!text.empty() && text.front() == '+') ++begin;
  double value = 0.0;
  const auto result = std::from_chars(begin, text.data() + text.size(), value);
  if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size() ||
      !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::optional<int> ParseInteger(const std::string& text) {
  int value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

double TakeDiameter(Arguments& args) {
  const auto value = args.TakeValue();
  const auto number = value ? ParseNumber(*value) : std::nullopt;
  if (!number || !(*number > 0 && *number <= kMaxDiameterMm)) {
    throw UsageError{"--diameter needs a positive number of millimetres, at most a million"};
  }
  return *number;
}

}  // namespace brillora::cli
