#include "light/globe_grid.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/units.h"

namespace brillora {

namespace {

int RoundToInt(double v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace

DisplaySquare SquareOfDisplay(int width, int height) {
  const int m = std::max(std::min(width, height), 2 * kDisplayMargin);
  DisplaySquare s;
  s.Right = m - kDisplayMargin;
  s.Bottom = m - kDisplayMargin;
  s.GlobeRadius = std::max(0, (s.Right - kDisplayMargin - 1) / 2);
  return s;
}

GlobeGrid::GlobeGrid() {
  for (int i = 0; i < kRingPoints; ++i) {
    const double a = Radians(5.0 * i);
    points_[0][i] = {std::cos(a), std::sin(a), 0.0};
  }
  for (int j = 1; j < kGlobeRings; ++j) {
    const double a = Radians(45.0 * j);
    Frame turn = IdentityFrame();
    RotateFrame(turn, std::cos(a), std::sin(a), std::numbers::pi / 2);
    for (int i = 0; i < kRingPoints; ++i) {
      points_[j][i] = points_[0][i];
      TransformVector(turn, points_[j][i]);
    }
  }
  for (int k = 0; k < 8; ++k) {
    static constexpr const char* kAzimuths[] = {"0", "45", "90", "135", "180", "225", "270", "315"};
    labels_.push_back({0, 9 * k, kAzimuths[k]});
  }
  labels_.push_back({4, 0, "180"});  // straight away from the viewer
  labels_.push_back({4, 36, "0"});   // straight toward the viewer
}

void GlobeGrid::Project(const Frame& m) {
  for (int j = 0; j < kGlobeRings; ++j) {
    for (int i = 0; i < kRingPoints; ++i) {
      const Vec3& p = points_[j][i];
      auto& slot = projected_[j][i];
      slot.reset();
      if (RowDot(m, 2, p.x, p.y, p.z) >= 0) {
        slot = Flat{RowDot(m, 0, p.x, p.y, p.z), RowDot(m, 1, p.x, p.y, p.z), {}};
      }
    }
  }
}

void GlobeGrid::Layout(const DisplaySquare& square) {
  const double r = square.GlobeRadius;
  for (auto& ring : projected_) {
    for (auto& slot : ring) {
      if (slot) slot->Screen = {RoundToInt(r * slot->X + r) + square.Left, RoundToInt(r * slot->Y + r) + square.Top};
    }
  }
  for (int j = 0; j < kGlobeRings; ++j) {
    const auto& ring = projected_[j];
    int first = kRingPoints - 1;
    for (int i = 0; i < kRingPoints; ++i) {
      if (ring[i] && !ring[(i + kRingPoints - 1) % kRingPoints]) {
        first = i;
        break;
      }
    }
    auto& arc = arcs_[j];
    arc.clear();
    for (int k = 0; k < kArcPoints; ++k) {
      const auto& slot = ring[(first + k) % kRingPoints];
      if (!slot) break;  // a ring seen edge-on may show fewer points
      arc.push_back(slot->Screen);
    }
  }
}

std::vector<GlobeLabel> GlobeGrid::Labels() const {
  std::vector<GlobeLabel> shown;
  for (const LabelPoint& label : labels_) {
    const auto& slot = projected_[label.Ring][label.Index];
    if (slot) shown.push_back({slot->Screen, label.Text});
  }
  return shown;
}

}  // namespace brillora
