#include "light/illumination_model.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "light/color_to_linear.h"
#include "model/units.h"
#include "trace/plane_geometry.h"
#include "trace/race.h"

namespace brillora {

namespace {

constexpr std::uint32_t kGrey = 128 + 256 * 128 + 65536 * 128;
constexpr std::uint32_t kPurple = 128 + 65536 * 128;

int RoundToInt(double v) { return static_cast<int>(std::nearbyint(v)); }

// Pixel index of a picture coordinate in -1 .. 1; directions a hair beyond
// the unit sphere (or undefined) stay on the picture.
int PictureIndex(double v) {
  const double p = std::nearbyint(255 * v + 255.5);
  if (!(p >= 0)) return 0;
  return p > kPictureSize - 1 ? kPictureSize - 1 : static_cast<int>(p);
}

int HeadRadius(int degrees) {
  return RoundToInt(std::sin(Radians(degrees)) * 256);
}

LinearColor Scaled(LinearColor c, double f) { return {c.R * f, c.G * f, c.B * f}; }

}  // namespace

IlluminationModel::IlluminationModel() : cosTable_(kWeightStride * kWeightStride, 0) {
  for (int i = 0; i <= 255; ++i) {
    for (int j = 0; j <= 255; ++j) {
      cosTable_[static_cast<std::size_t>(i * kWeightStride + j)] =
          RoundToInt(64 * std::sqrt(std::max(0, 65025 - i * i - j * j)));
    }
  }
  UpdateZoneCos();
  MasCreate(PictureSide::Front, false);
  MasCreate(PictureSide::Back, false);
  SetBGColor();
}

LinearColor IlluminationModel::IlluminationSource(const Vec3& d) const {
  const double z = d.z;
  switch (sourceMode_) {
    case 0:
      return z > 0 ? LinearColor{z, z, z} : LinearColor{};
    case 1:
      if (z >= 0) return {z, 0, 0};
      if (z < 0) return {0, 0, -z};
      return {};
    case 2:
      if (z >= zoneCos_[0]) return {1, 0, 0};
      if (z >= zoneCos_[1]) return {0, 1, 0};
      if (z >= zoneCos_[2]) return {0, 0, 1};
      return {};
    default:
      return SourcePictures(d);
  }
}

LinearColor IlluminationModel::SourcePictures(const Vec3& d) const {
  const EnvPicture& picture = d.z > 0 ? front_ : back_;
  const std::size_t at =
      (static_cast<std::size_t>(PictureIndex(d.y)) * kPictureSize + static_cast<std::size_t>(PictureIndex(d.x))) * 3;
  return ColorToLinear(picture.Masked[at], picture.Masked[at + 1], picture.Masked[at + 2]);
}

LinearColor IlluminationModel::Lookup(Vec3 d) const {
  TransformVector(envTurn_, d);
  return IlluminationSource(d);
}

void IlluminationModel::ShadeScreenFacets(ArrayOfFOS& polygons, bool plain) const {
  for (FasetOnScreen& p : polygons) {
    const Race& b = *p.Beam;
    if (plain) {
      const double g = b.Dir.z;
      p.Color = {g, g, g};
      continue;
    }
    const LinearColor base = b.Parent == nullptr ? bgColor_ : innerColor_;
    LinearColor color = Scaled(base, b.InLight);
    for (const Race* c = &b; c != nullptr; c = c->Parent) {
      if (c->OutLight > 0) {
        const LinearColor seen = Lookup(c->Dir);
        color.R += seen.R * c->OutLight;
        color.G += seen.G * c->OutLight;
        color.B += seen.B * c->OutLight;
      }
    }
    p.Color = color;
    p.Area = trace::TwiceArea(b.Points);
  }
}

void IlluminationModel::SetSourceMode(int mode) {
  sourceMode_ = std::clamp(mode, 0, 3);
  SetBGColor();
}

void IlluminationModel::UpdateZoneCos() {
  for (int k = 0; k < 3; ++k) zoneCos_[k] = std::cos(Radians(settings_.ZoneAngles[k]));
}

void IlluminationModel::SetZoneAngles(double a1, double a2, double a3) {
  settings_.ZoneAngles = {a1, a2, a3};
  UpdateZoneCos();
  SetBGColor();
}

void IlluminationModel::SetBackgroundBrightness(int percent) {
  settings_.BackgroundBrightness = std::clamp(percent, 0, 100);
  SetBGColor();
}

void IlluminationModel::SetIntensityLaw(int law) {
  settings_.IntensityLaw = std::clamp(law, 0, 3);
  MasCreate(PictureSide::Front, settings_.HeadOn);
  Masking(PictureSide::Front, settings_.BodyOn);
}

void IlluminationModel::SetHeadAndBody(bool headOn, bool bodyOn, int headAngle) {
  settings_.HeadOn = headOn;
  settings_.BodyOn = bodyOn;
  settings_.HeadAngle = std::clamp(headAngle, 0, 30);
  MasCreate(PictureSide::Front, headOn);
  Masking(PictureSide::Front, bodyOn);
  Masking(PictureSide::Back, bodyOn);
}

void IlluminationModel::SetPicture(PictureSide side, std::span<const std::uint8_t> rgb, int width,
                                   int height) {
  PastePicture(side, rgb, width, height, 0, 0, kPictureSize, kPictureSize);
}

void IlluminationModel::PastePicture(PictureSide side, std::span<const std::uint8_t> rgb, int width, int height,
                                     int left, int top, int right, int bottom) {
  EnvPicture& picture = PictureOf(side);
  left = std::clamp(left, 0, kPictureSize);
  right = std::clamp(right, left, kPictureSize);
  top = std::clamp(top, 0, kPictureSize);
  bottom = std::clamp(bottom, top, kPictureSize);
  const bool usable = width > 0 && height > 0 &&
                      rgb.size() >= static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
  if (usable) {
    // Nearest-pixel stretch onto the rectangle, aspect ratio not kept.
    const std::size_t w = static_cast<std::size_t>(right - left), h = static_cast<std::size_t>(bottom - top);
    for (int r = top; r < bottom; ++r) {
      const std::size_t sr = static_cast<std::size_t>(r - top) * static_cast<std::size_t>(height) / h;
      for (int c = left; c < right; ++c) {
        const std::size_t sc = static_cast<std::size_t>(c - left) * static_cast<std::size_t>(width) / w;
        const std::size_t from = (sr * static_cast<std::size_t>(width) + sc) * 3;
        const std::size_t to = (static_cast<std::size_t>(r) * kPictureSize + static_cast<std::size_t>(c)) * 3;
        std::copy_n(&rgb[from], 3, &picture.Source[to]);
      }
    }
  }
  Masking(side, settings_.BodyOn);
}

void IlluminationModel::FillPicture(PictureSide side, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  EnvPicture& picture = PictureOf(side);
  for (std::size_t i = 0; i < picture.Source.size(); i += 3) {
    picture.Source[i] = r;
    picture.Source[i + 1] = g;
    picture.Source[i + 2] = b;
  }
  Masking(side, settings_.BodyOn);
}

void IlluminationModel::MasCreate(PictureSide side, bool headOn) {
  EnvPicture& picture = PictureOf(side);
  const int law = settings_.IntensityLaw;
  int headSquared = -1;
  if (headOn) {
    const int h = HeadRadius(settings_.HeadAngle);
    headSquared = h * h;
  }
  for (int i = 0; i <= 255; ++i) {
    for (int j = i; j <= 255; ++j) {
      const int a = 256 - i, b = 256 - j;
      const int d2 = a * a + b * b;
      int w;
      if (d2 < headSquared) {
        w = 0;
      } else if (law == 0) {
        w = 255;
      } else if (d2 <= 65535) {
        if (law == 1) {
          w = (CosTable(a, b) + 63) >> 6;
        } else if (law == 2) {
          w = ((65535 - d2) * 255 + 65535) >> 16;
        } else {
          const int e = (65535 - d2) >> 6;
          w = (e * e * 255) >> 20;
        }
      } else {
        w = 0;
      }
      picture.Weights[static_cast<std::size_t>(i * kWeightStride + j)] = static_cast<std::uint8_t>(w);
    }
  }
}

void IlluminationModel::Masking(PictureSide side, bool bodyOn) {
  EnvPicture& picture = PictureOf(side);
  const int h = bodyOn ? HeadRadius(settings_.HeadAngle) : 0;
  const double halfStrip = 1.8 * h;
  std::uint32_t sum[3] = {0, 0, 0};
  for (int r = 0; r < kPictureSize; ++r) {
    const int rf = r < 256 ? r : 511 - r;
    for (int c = 0; c < kPictureSize; ++c) {
      int w;
      if (bodyOn && r >= 256 + h && 256 - halfStrip < c && c < 256 + halfStrip) {
        w = 0;
      } else {
        const int cf = c < 256 ? c : 511 - c;
        w = cf > rf ? picture.Weights[static_cast<std::size_t>(rf * kWeightStride + cf)]
                    : picture.Weights[static_cast<std::size_t>(cf * kWeightStride + rf)];
      }
      const std::size_t at = (static_cast<std::size_t>(r) * kPictureSize + static_cast<std::size_t>(c)) * 3;
      for (int k = 0; k < 3; ++k) {
        const std::uint32_t byte = picture.Source[at + k] * static_cast<std::uint32_t>(w) / 255;
        picture.Masked[at + k] = static_cast<std::uint8_t>(byte);
        sum[k] += (byte * byte) >> 4;
      }
    }
  }
  const double circle = 4096 * std::numbers::pi;
  picture.MeanColor = {(sum[0] >> 16) / circle, (sum[1] >> 16) / circle, (sum[2] >> 16) / circle};
  SetBGColor();
}

void IlluminationModel::TurnByMouse(int prevX, int prevY, int x, int y, int width, bool rightButton) {
  if (width <= 0) return;
  const double dx = prevX - x, dy = prevY - y;
  const double angle = std::numbers::pi * std::sqrt(dx * dx + dy * dy) / width;
  RotateFrame(mapTurn_, dx, dy, angle);
  if (!rightButton) {
    RotateFrame(mapView_, dx, dy, angle);
    return;
  }
  Frame inverse = mapTurn_;
  InvertFrame(inverse);
  envTurn_ = MultiplyFrames(inverse, mapView_);
  SetBGColor();
}

void IlluminationModel::TurnDisplay(const Frame& turn) {
  mapView_ = MultiplyFrames(turn, mapView_);
  mapTurn_ = MultiplyFrames(turn, mapTurn_);
}

void IlluminationModel::ResetTurns() {
  mapView_ = mapTurn_ = envTurn_ = IdentityFrame();
  SetBGColor();
}

void IlluminationModel::SetBGColor() {
  switch (sourceMode_) {
    case 1:
      innerColor_ = ColorToLinear(kPurple);
      break;
    case 3:
      innerColor_ = {(front_.MeanColor.R + back_.MeanColor.R) / 2, (front_.MeanColor.G + back_.MeanColor.G) / 2,
                     (front_.MeanColor.B + back_.MeanColor.B) / 2};
      break;
    default:
      innerColor_ = ColorToLinear(kGrey);
      break;
  }
  bgColor_ = Lookup({0, 0, -1});
  if (sourceMode_ == 3) {
    const double percent = settings_.BackgroundBrightness;
    bgColor_ = {percent * bgColor_.R / 100, percent * bgColor_.G / 100, percent * bgColor_.B / 100};
  }
  snapshot_.reset();
  if (OnChanged) OnChanged();
}

std::shared_ptr<const IlluminationModel> IlluminationModel::Snapshot() const {
  if (!snapshot_) {
    auto copy = std::make_shared<IlluminationModel>(*this);
    copy->OnChanged = nullptr;  // a reader must never call back into the owner
    snapshot_ = std::move(copy);
  }
  return snapshot_;
}

}  // namespace brillora
