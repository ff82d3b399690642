#include "model/number_text.h"

#include <array>
#include <charconv>
#include <cmath>

namespace brillora {

std::string FormatFixed(double value, int width, int decimals) {
  std::array<char, 400> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::fixed, decimals);
  std::string text(buffer.data(), result.ec == std::errc() ? result.ptr : buffer.data());
  if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), ' ');
  return text;
}

double RoundHalfEven(double value) { return std::nearbyint(value); }

}  // namespace brillora
