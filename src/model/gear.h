#pragma once

#include <array>
#include <string_view>

namespace brillora {

// The symmetry orders a cutter can choose, as the symmetry list shows them.
inline constexpr std::array<std::string_view, 15> kSymmetryItems = {
    "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "16", "24", "36", "48"};

bool IsSymmetryOrder(int n);

// Notches of the index wheel used for a symmetry order.
int GearNotchesFor(int symOrder);

// Notches in half a sector: the range of Split (0 .. h-1) and of Shift (1-h .. h).
int HalfSectorNotches(int symOrder, int gearNotches);

}  // namespace brillora
