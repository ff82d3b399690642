#include "light/made_surroundings.h"

#include <array>
#include <cmath>
#include <functional>
#include <numbers>

#include "model/units.h"

namespace brillora {

namespace {

constexpr std::array<double, 3> kLampRings = {25, 45, 65};
constexpr double kAsetRedDegrees = 45;
constexpr double kAsetDefaultHead = 10;

// A front picture coloured pixel by pixel from the direction its centre
// shows; outside the hemisphere's disc it stays black.
std::vector<std::uint8_t> FrontPicture(const std::function<std::array<std::uint8_t, 3>(const Vec3&)>& colour) {
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(kPictureSize) * kPictureSize * 3, 0);
  const double half = (kPictureSize - 1) / 2.0;
  for (int row = 0; row < kPictureSize; ++row) {
    for (int column = 0; column < kPictureSize; ++column) {
      // The centre of the pixel that direction (x, y) looks up.
      const double x = (column - half) / (kPictureSize / 2 - 1), y = (row - half) / (kPictureSize / 2 - 1);
      const double z2 = 1 - x * x - y * y;
      if (z2 < 0) continue;
      const std::array<std::uint8_t, 3> c = colour({x, y, std::sqrt(z2)});
      const std::size_t at = (static_cast<std::size_t>(row) * kPictureSize + static_cast<std::size_t>(column)) * 3;
      rgb[at] = c[0];
      rgb[at + 1] = c[1];
      rgb[at + 2] = c[2];
    }
  }
  return rgb;
}

void UseFront(IlluminationModel& model, const std::vector<std::uint8_t>& front) {
  model.SetPicture(PictureSide::Front, front, kPictureSize, kPictureSize);
  model.FillPicture(PictureSide::Back, 0, 0, 0);
}

}  // namespace

std::vector<std::uint8_t> LampsPicture() {
  std::vector<Vec3> lamps;
  for (std::size_t ring = 0; ring < kLampRings.size(); ++ring) {
    const double polar = Radians(kLampRings[ring]);
    for (int j = 0; j < kLampsPerRing; ++j) {
      const double azimuth = 2 * std::numbers::pi * (j + ring / 3.0) / kLampsPerRing;
      lamps.push_back({std::sin(polar) * std::cos(azimuth), std::sin(polar) * std::sin(azimuth), std::cos(polar)});
    }
  }
  const double within = std::cos(Radians(kLampRadius));
  return FrontPicture([&](const Vec3& d) -> std::array<std::uint8_t, 3> {
    for (const Vec3& lamp : lamps) {
      if (Dot(d, lamp) >= within) return {255, 255, 255};
    }
    return {0, 0, 0};
  });
}

std::vector<std::uint8_t> AsetPicture(double headDegrees) {
  const double headCos = std::cos(Radians(headDegrees)), redCos = std::cos(Radians(kAsetRedDegrees));
  return FrontPicture([&](const Vec3& d) -> std::array<std::uint8_t, 3> {
    if (d.z > headCos) return {0, 0, 255};
    if (d.z >= redCos) return {255, 0, 0};
    return {0, 255, 0};
  });
}

double AsetHeadDegrees(int headRadius) { return headRadius > 0 ? headRadius : kAsetDefaultHead; }

void UseLamps(IlluminationModel& model) { UseFront(model, LampsPicture()); }

void UseAset(IlluminationModel& model, double headDegrees) { UseFront(model, AsetPicture(headDegrees)); }

}  // namespace brillora
