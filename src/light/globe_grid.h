#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "trace/frame.h"
#include "trace/screen_polygon.h"

namespace brillora {

inline constexpr int kGlobeRings = 5;
inline constexpr int kRingPoints = 72;
inline constexpr int kArcPoints = 35;
inline constexpr int kDisplayMargin = 8;

// Where the disk of directions sits in the display's client area.
struct DisplaySquare {
  int Left = kDisplayMargin;
  int Top = kDisplayMargin;
  int Right = kDisplayMargin;   // exclusive, as a rectangle's far corner
  int Bottom = kDisplayMargin;
  int GlobeRadius = 0;          // pixels
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
};

// The square of a display `width` x `height` pixels.
DisplaySquare SquareOfDisplay(int width, int height);

struct GlobeLabel {
  ScreenPoint At;
  std::string Text;
};

// The grid drawn over the light map: the rim circle and four great circles
// through the poles, 72 points each, and the ten labels of azimuths and poles.
// Project says which points face the viewer under the display's turn; Layout
// places them on a display of a given size.
class GlobeGrid {
 public:
  GlobeGrid();

  void Project(const Frame& mapView);
  void Layout(const DisplaySquare& square);

  // The visible half of each ring in pixels: up to 35 points, in ring order.
  const std::array<std::vector<ScreenPoint>, kGlobeRings>& Arcs() const { return arcs_; }
  // The labels whose points are visible.
  std::vector<GlobeLabel> Labels() const;
  const Vec3& Point(int ring, int index) const { return points_[ring][index]; }
  bool Visible(int ring, int index) const { return projected_[ring][index].has_value(); }

 private:
  struct Flat {
    double X = 0;
    double Y = 0;
    ScreenPoint Screen;
  };
  struct LabelPoint {
    int Ring;
    int Index;
    const char* Text;
  };

  std::array<std::array<Vec3, kRingPoints>, kGlobeRings> points_{};
  std::array<std::array<std::optional<Flat>, kRingPoints>, kGlobeRings> projected_{};
  std::array<std::vector<ScreenPoint>, kGlobeRings> arcs_{};
  std::vector<LabelPoint> labels_;
};

}  // namespace brillora
