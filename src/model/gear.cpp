#include "model/gear.h"

#include <cmath>
#include <string>

namespace brillora {

bool IsSymmetryOrder(int n) {
  const std::string text = std::to_string(n);
  for (auto item : kSymmetryItems) {
    if (item == text) return true;
  }
  return false;
}

int GearNotchesFor(int symOrder) {
  switch (symOrder) {
    case 5:
    case 10:
      return 80;
    case 7:
      return 84;
    case 9:
      return 72;
    case 11:
      return 88;
    default:
      return 96;
  }
}

int HalfSectorNotches(int symOrder, int gearNotches) {
  return static_cast<int>(std::lround(static_cast<double>(gearNotches) / symOrder / 2.0));
}

}  // namespace brillora
