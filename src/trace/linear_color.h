#pragma once

namespace brillora {

// Linear light per channel, nominally 0 .. 1: the square of the displayed intensity.
struct LinearColor {
  double R = 0.0;
  double G = 0.0;
  double B = 0.0;
};

}  // namespace brillora
