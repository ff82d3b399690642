#pragma once

#include <cstdint>
#include <vector>

#include "trace/linear_color.h"

namespace brillora {

inline constexpr int kPictureSize = 512;
inline constexpr int kWeightStride = 257;

// One photograph of a half-space of the surroundings, as an orthographic view
// of the hemisphere: the centre is the pole, the inscribed circle the rim.
// Pixels are R, G, B bytes, rows from the top.
struct EnvPicture {
  std::vector<std::uint8_t> Source = std::vector<std::uint8_t>(kPictureSize * kPictureSize * 3, 0);
  std::vector<std::uint8_t> Masked = std::vector<std::uint8_t>(kPictureSize * kPictureSize * 3, 0);
  // One octant of the weight mask, [i][j] for i <= j, rows and columns 0..255.
  std::vector<std::uint8_t> Weights = std::vector<std::uint8_t>(kWeightStride * kWeightStride, 255);
  LinearColor MeanColor;  // mean linear colour of Masked over the inscribed circle
};

}  // namespace brillora
