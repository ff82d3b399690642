#include "analysis/colour_spread.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <numbers>

#include "trace/index_at_wavelength.h"

namespace brillora {

namespace {

// Snell's law in vector form for light along `travel` meeting a surface whose
// normal `facing` points against it, from index n1 into n2; nullopt beyond
// the critical angle.
std::optional<Vec3> Refract(const Vec3& travel, const Vec3& facing, double n1, double n2) {
  const double eta = n1 / n2;
  const double c = -Dot(travel, facing);
  const double k = 1 - eta * eta * (1 - c * c);
  if (k < 0) return std::nullopt;
  return eta * travel + (eta * c - std::sqrt(k)) * facing;
}

}  // namespace

Vec3 EnterStone(const Vec3& travel, const Vec3& normal, double index) {
  // From air light always enters.
  return *Refract(travel, normal, 1.0, index);
}

Vec3 MirrorAt(const Vec3& travel, const Vec3& normal) { return travel + (-2 * Dot(travel, normal)) * normal; }

std::optional<Vec3> LeaveStone(const Vec3& travel, const Vec3& normal, double index) {
  return Refract(travel, -1.0 * normal, index, 1.0);
}

double AngleDegrees(const Vec3& a, const Vec3& b) {
  // The sine from the cross product keeps small angles exact, where the
  // cosine's arc cosine loses them.
  return std::atan2(Length(Cross(a, b)), Dot(a, b)) * 180 / std::numbers::pi;
}

ColourSpread::ColourSpread(const Frame& view, double index, double dispersion)
    : indexC_(IndexAtWavelength(index, dispersion, kLineC)), indexF_(IndexAtWavelength(index, dispersion, kLineF)) {
  const Vec3 towardViewer{view[6], view[7], view[8]};
  toStone_ = (-1 / Length(towardViewer)) * towardViewer;
}

std::span<const double> ColourSpread::ChainSpread(const Race& leaf) {
  chain_.clear();
  for (const Race* c = &leaf; c != nullptr; c = c->Parent) chain_.push_back(c);
  spread_.assign(chain_.size(), 0.0);
  if (indexC_ == indexF_) return spread_;

  // From the entry facet down the chain, both lines at once; the light
  // reflected off the entry facet never meets the stone's index.
  const Race& root = *chain_.back();
  assert(root.Parent == nullptr && root.Facet != nullptr);
  Vec3 red = EnterStone(toStone_, NormalOf(*root.Facet), indexC_);
  Vec3 blue = EnterStone(toStone_, NormalOf(*root.Facet), indexF_);
  for (std::size_t i = chain_.size() - 1; i-- > 0;) {
    const Race& beam = *chain_[i];
    const Vec3 normal = NormalOf(*beam.Facet);
    if (beam.OutLight > 0) {
      const std::optional<Vec3> redOut = LeaveStone(red, normal, indexC_);
      const std::optional<Vec3> blueOut = LeaveStone(blue, normal, indexF_);
      spread_[i] = redOut && blueOut ? AngleDegrees(*redOut, *blueOut) : kPartedColoursDegrees;
    }
    red = MirrorAt(red, normal);
    blue = MirrorAt(blue, normal);
  }
  return spread_;
}

}  // namespace brillora
