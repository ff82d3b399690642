#include "view/polygon_outline.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace brillora {
namespace {

// The way an edge runs along its longer axis.
enum Direction : unsigned {
  kNoDirection = 0,
  kDown = 1,
  kUp = 2,
  kRight = 4,
  kLeft = 8,
};
constexpr unsigned kVerticalPair = kDown | kUp;
constexpr unsigned kHorizontalPair = kRight | kLeft;

constexpr int kSub = 64;                     // subpixels per pixel of the edge ends (26.6)
constexpr std::int64_t kOne = 65536;         // 1 in the 16.16 steps along the run
constexpr std::int64_t kShallow = kOne / 4;  // steps below this count as nearly level

struct Point {
  double x;
  double y;
};

struct Pixel {
  int x;
  int y;
  bool operator==(const Pixel&) const = default;
};

// One edge laid out as a run: the major coordinates [begin, end) in pixels,
// the minor coordinate at `begin` and its change per pixel in 16.16. The run
// always counts upward; `reversed` says the edge itself runs the other way.
struct Run {
  bool steep = false;     // more rows than columns: the run steps along y
  bool reversed = false;  // the edge runs toward smaller major coordinates
  Direction direction = kNoDirection;
  int sub1 = 0;            // the run's start on the major axis, in subpixels
  int sub2 = 0;            // its end
  std::int64_t minor = 0;  // the minor coordinate at sub1, 16.16
  std::int64_t step = 0;
  int begin = 0;
  int end = 0;

  Pixel At(int major, std::int64_t minorAt) const {
    const int m = static_cast<int>(minorAt >> 16);
    return steep ? Pixel{m, major} : Pixel{major, m};
  }
  // Rounds the ends to whole pixels and moves the minor coordinate to pixel
  // `begin`, taken half a pixel in when the minor coordinate grows and at the
  // pixel's start when it shrinks: Qt's rounding, which decides which of two
  // equally near pixels a run takes.
  void Place() {
    begin = (sub1 + kSub / 2) >> 6;
    end = (sub2 + kSub / 2) >> 6;
    const std::int64_t round = step > 0 ? kSub / 2 : 0;
    minor += (std::int64_t{begin} * kSub + round - sub1) * step >> 6;
  }
  Pixel Last() const { return At(end - 1, minor + (end - begin - 1) * step); }
  // The pixels where the edge starts and ends, in the edge's own direction.
  Pixel EdgeStart() const { return reversed ? Last() : At(begin, minor); }
  Pixel EdgeEnd() const { return reversed ? At(begin, minor) : Last(); }
};

// Edge ends in subpixels, cut toward zero as Qt converts them.
int Sub(double v) {
  return static_cast<int>(v * kSub);
}

// The run of the edge from a to b (already cut to the bitmap), before any join.
// False for an edge of no length.
bool Layout(Point a, Point b, Run& run) {
  const int x1 = Sub(a.x), y1 = Sub(a.y), x2 = Sub(b.x), y2 = Sub(b.y);
  run.steep = std::abs(x2 - x1) < std::abs(y2 - y1);
  int u1 = run.steep ? y1 : x1, u2 = run.steep ? y2 : x2;
  int v1 = run.steep ? x1 : y1, v2 = run.steep ? x2 : y2;
  if (u1 == u2) return false;
  run.reversed = u1 > u2;
  if (run.reversed) {
    std::swap(u1, u2);
    std::swap(v1, v2);
  }
  run.direction = run.steep ? (run.reversed ? kUp : kDown) : (run.reversed ? kLeft : kRight);
  run.step = (std::int64_t{v2 - v1} * kOne) / (u2 - u1);
  run.minor = std::int64_t{v1} * (kOne / kSub);
  run.sub1 = u1;
  run.sub2 = u2;
  return true;
}

class OutlineWalker {
 public:
  OutlineWalker(PixelRows& target, std::uint32_t color)
      : target_(target),
        ink_(color),
        left_(-1.0),
        top_(-1.0),
        right_(target.Width() + 1.0),
        bottom_(target.Height() + 1.0) {}

  // Takes over what drawing the closing edge leaves behind, so that the first
  // edge joins it as it will join the last one.
  void Prime(Point a, Point b) {
    direction_ = kNoDirection;
    if (!Cut(a, b)) return;
    Run run;
    if (!Layout(a, b, run)) return;
    run.Place();
    if (run.begin == run.end) return;
    last_ = run.EdgeEnd();
    hasLast_ = true;
    direction_ = run.direction;
    shallow_ = std::abs(run.step) < kShallow;
  }

  void Edge(Point a, Point b) {
    if (!Cut(a, b)) return;
    Run run;
    if (!Layout(a, b, run)) return;
    // Where the edge turns back along its own axis, its first pixel is
    // reached half a pixel early, so the tip of the turn is drawn.
    const unsigned pair = run.steep ? kVerticalPair : kHorizontalPair;
    if ((direction_ ^ pair) == run.direction) {
      if (run.reversed) {
        run.sub2 += kSub / 2;
      } else {
        run.sub1 -= kSub / 2;
        run.minor -= run.step >> 1;
      }
    }
    run.Place();
    if (run.begin == run.end) return;
    const Pixel first = run.EdgeStart();
    Pixel last = run.EdgeEnd();
    const bool shallow = std::abs(run.step) < kShallow;
    if (hasLast_) Join(run, first, last, shallow);
    direction_ = run.direction;
    shallow_ = shallow;
    // At least one pixel, even when the join took the run's only one away
    // (the next pixel along is drawn then), as Qt does.
    std::int64_t minor = run.minor;
    int major = run.begin;
    const int count = std::max(run.end - run.begin, 1);
    const Pixel start = run.At(major, minor),
                stop = run.At(major + count - 1, minor + (count - 1) * run.step);
    // Local copies: the compiler need not reload them after every pixel stored.
    PixelRows rows = target_;
    const Ink ink = ink_;
    // Both coordinates move one way along the run: with its ends inside the
    // bitmap, every pixel of it is.
    const bool inside = rows.Contains(start.x, start.y) && rows.Contains(stop.x, stop.y);
    for (int i = 0; i < count; ++i, ++major, minor += run.step) {
      const Pixel p = run.At(major, minor);
      if (inside) {
        rows.Put(p.x, p.y, ink);
      } else {
        rows.Dot(p.x, p.y, ink);
      }
    }
    last_ = last;
    hasLast_ = true;
  }

 private:
  // Mends the join with the previous edge, whose last pixel is last_.
  void Join(Run& run, Pixel first, Pixel& last, bool shallow) {
    const int dx = std::abs(last_.x - first.x), dy = std::abs(last_.y - first.y);
    if (first == last_) {
      // Drawn already: start one pixel further on.
      if (run.reversed) {
        --run.end;
      } else {
        ++run.begin;
        run.minor += run.step;
      }
    } else if (direction_ != run.direction &&
               ((shallow && shallow_ && last_.x != first.x && last_.y != first.y) || dx > 1 ||
                dy > 1)) {
      // A gap at a turn: one pixel more at the start.
      if (run.reversed) {
        ++run.end;
      } else {
        --run.begin;
        run.minor -= run.step;
      }
    } else if (direction_ == run.direction && dx <= 1 && dy > 1) {
      // Going on the same way but a row apart: meet halfway.
      run.minor += run.step >> 1;
      last = run.EdgeEnd();
    }
  }

  // Cuts the edge to the widened bitmap in floating point. False when nothing
  // of it is left. A cut end breaks the chain of joins.
  bool Cut(Point& a, Point& b) {
    if (a.x < left_) {
      if (b.x <= left_) return Outside();
      a.y += (b.y - a.y) / (b.x - a.x) * (left_ - a.x);
      a.x = left_;
    } else if (a.x > right_) {
      if (b.x >= right_) return Outside();
      a.y += (b.y - a.y) / (b.x - a.x) * (right_ - a.x);
      a.x = right_;
    }
    if (b.x < left_) {
      hasLast_ = false;
      b.y += (b.y - a.y) / (b.x - a.x) * (left_ - b.x);
      b.x = left_;
    } else if (b.x > right_) {
      hasLast_ = false;
      b.y += (b.y - a.y) / (b.x - a.x) * (right_ - b.x);
      b.x = right_;
    }
    if (a.y < top_) {
      if (b.y <= top_) return Outside();
      a.x += (b.x - a.x) / (b.y - a.y) * (top_ - a.y);
      a.y = top_;
    } else if (a.y > bottom_) {
      if (b.y >= bottom_) return Outside();
      a.x += (b.x - a.x) / (b.y - a.y) * (bottom_ - a.y);
      a.y = bottom_;
    }
    if (b.y < top_) {
      hasLast_ = false;
      b.x += (b.x - a.x) / (b.y - a.y) * (top_ - b.y);
      b.y = top_;
    } else if (b.y > bottom_) {
      hasLast_ = false;
      b.x += (b.x - a.x) / (b.y - a.y) * (bottom_ - b.y);
      b.y = bottom_;
    }
    return true;
  }

  bool Outside() {
    hasLast_ = false;
    return false;
  }

  PixelRows& target_;
  Ink ink_;
  double left_, top_, right_, bottom_;
  Pixel last_{0, 0};  // the last pixel of the previous edge, when hasLast_
  bool hasLast_ = false;
  unsigned direction_ = kNoDirection;
  bool shallow_ = false;
};

Point At(const ScreenPoint& p) {
  return {static_cast<double>(p.X), static_cast<double>(p.Y)};
}

}  // namespace

void OutlinePolygon(PixelRows& target, std::span<const ScreenPoint> polygon, std::uint32_t color) {
  const std::size_t n = polygon.size();
  if (n == 0) return;
  OutlineWalker walker(target, color);
  // A list that repeats its first corner at the end closes with the edge
  // before that repetition.
  const bool repeatsFirst =
      n > 2 && polygon[0].X == polygon[n - 1].X && polygon[0].Y == polygon[n - 1].Y;
  walker.Prime(At(polygon[repeatsFirst ? n - 2 : n - 1]), At(polygon[0]));
  for (std::size_t i = 1; i < n; ++i) walker.Edge(At(polygon[i - 1]), At(polygon[i]));
  walker.Edge(At(polygon[n - 1]), At(polygon[0]));
}

}  // namespace brillora
