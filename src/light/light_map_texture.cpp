#include "light/light_map_texture.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace brillora {

namespace {

// Sums carry 255 x 64 x 65536 = 255 x 2^22 per unit.
constexpr int kShift = 22;
constexpr double kUnit = 255.0 * 4194304.0;

using FixedFrame = std::array<std::int64_t, 9>;

FixedFrame FixedInverse(const Frame& turn) {
  Frame inverse = turn;
  InvertFrame(inverse);
  FixedFrame fixed{};
  for (int k = 0; k < 9; ++k) fixed[k] = static_cast<std::int64_t>(std::nearbyint(inverse[k] * 65536.0));
  return fixed;
}

std::uint8_t Clamped(std::int64_t v) { return static_cast<std::uint8_t>(std::clamp<std::int64_t>(v, 0, 255)); }

// A picture index from a component of 255 x 2^22 per unit, truncated.
int PictureAt(std::int64_t sum, int centre) {
  return std::clamp(centre + static_cast<int>(sum >> kShift), 0, kPictureSize - 1);
}

struct Shader {
  int mode;
  std::array<std::int64_t, 3> zones;  // the zone cosines in sum units
  const IlluminationModel& model;

  void operator()(std::int64_t x, std::int64_t y, std::int64_t z, std::uint8_t* out) const {
    switch (mode) {
      case 0: {
        const std::uint8_t g = Clamped(z >> kShift);
        out[0] = out[1] = out[2] = g;
        return;
      }
      case 1:
        out[0] = z >= 0 ? Clamped(z >> kShift) : 0;
        out[1] = 0;
        out[2] = z >= 0 ? 0 : Clamped((-z) >> kShift);
        return;
      case 2:
        out[0] = z > zones[0] ? 255 : 0;
        out[1] = zones[1] < z && z < zones[0] ? 255 : 0;
        out[2] = zones[2] < z && z < zones[1] ? 255 : 0;
        return;
      default: {
        const EnvPicture& picture = model.Picture(z > 0 ? PictureSide::Front : PictureSide::Back);
        const std::size_t at = (static_cast<std::size_t>(PictureAt(y, 255)) * kPictureSize +
                                static_cast<std::size_t>(PictureAt(x, 256))) * 3;
        std::copy_n(&picture.Masked[at], 3, out);
      }
    }
  }
};

}  // namespace

void PaintMapTexture(const IlluminationModel& model, RgbBytes outside, std::vector<std::uint8_t>& rgb) {
  rgb.resize(static_cast<std::size_t>(kTextureSize) * kTextureSize * 3);
  const FixedFrame m = FixedInverse(model.MapTurn());
  Shader shade{model.SourceMode(), {}, model};
  for (int k = 0; k < 3; ++k) shade.zones[k] = static_cast<std::int64_t>(std::nearbyint(model.ZoneCos()[k] * kUnit));
  for (int r = 0; r < kTextureSize; ++r) {
    const int v = 256 - r;
    const std::int64_t py = -64 * v;
    std::uint8_t* row = rgb.data() + static_cast<std::size_t>(r) * kTextureSize * 3;
    for (int c = 0; c < kTextureSize; ++c) {
      const int u = c - 255;
      const std::int64_t pz = model.CosTable(std::abs(v), std::abs(u));
      std::uint8_t* out = row + static_cast<std::size_t>(c) * 3;
      if (pz == 0) {
        out[0] = outside.R;
        out[1] = outside.G;
        out[2] = outside.B;
        continue;
      }
      const std::int64_t px = 64 * u;
      const std::int64_t ex = m[0] * px + m[1] * py + m[2] * pz;
      const std::int64_t ey = m[3] * px + m[4] * py + m[5] * pz;
      const std::int64_t ez = m[6] * px + m[7] * py + m[8] * pz;
      shade(ex, ey, ez, out);
    }
  }
}

}  // namespace brillora
