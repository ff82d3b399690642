#pragma once

#include <cstdint>
#include <vector>

#include "light/illumination_model.h"

namespace brillora {

inline constexpr int kTextureSize = 512;

struct RgbBytes {
  std::uint8_t R = 0;
  std::uint8_t G = 0;
  std::uint8_t B = 0;
};

// The disk of directions painted with the surroundings as the light map shows
// them, 512 x 512 R, G, B bytes, rows from the top: the centre is the
// direction toward the viewer of the display, turned back by the turns the
// user gave the map. Pixels off the disk keep `outside`. Integer arithmetic
// throughout (a 16.16 matrix, sums shifted right by 22), so that a drag on the
// display can repaint it at once.
void PaintMapTexture(const IlluminationModel& model, RgbBytes outside, std::vector<std::uint8_t>& rgb);

}  // namespace brillora
