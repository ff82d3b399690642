#include "view/polygon_filler.h"

#include <algorithm>

namespace brillora {
namespace {

constexpr std::int64_t kOne = 65536;  // 1 in 16.16 fixed point

// Sorts a short list in place; the lists here are mostly two or four long.
template <typename T, typename Less>
void InsertionSort(std::vector<T>& list, Less less) {
  for (std::size_t i = 1; i < list.size(); ++i) {
    T item = list[i];
    std::size_t j = i;
    for (; j > 0 && less(item, list[j - 1]); --j) list[j] = list[j - 1];
    list[j] = item;
  }
}

}  // namespace

void PolygonFiller::CollectEdges(std::span<const ScreenPoint> polygon, int height) {
  edges_.clear();
  const std::size_t n = polygon.size();
  for (std::size_t i = 0; i < n; ++i) {
    ScreenPoint a = polygon[i], b = polygon[(i + 1) % n];
    if (a.Y == b.Y) continue;  // a level edge crosses no centre line
    if (a.Y > b.Y) std::swap(a, b);
    // Rows top .. bottom - 1 have their centre lines (row + 1/2) between the
    // corners' integer heights; only those inside the bitmap are needed.
    const int top = std::max(a.Y, 0), bottom = std::min(b.Y, height);
    if (top >= bottom) continue;
    const std::int64_t dx = std::int64_t{b.X} - a.X, dy = std::int64_t{b.Y} - a.Y;
    // The slope is truncated toward zero, and the crossing of the first
    // centre line is that slope times one half, rounded down. The resulting
    // errors of a few 1/65536 pixel decide which side an on-edge centre takes.
    const std::int64_t step = dx * kOne / dy;
    // |step * rows| stays below 65536 |dx|: no overflow for any int corners.
    const std::int64_t x =
        std::int64_t{a.X} * kOne + kOne / 2 + (step >> 1) + step * (std::int64_t{top} - a.Y);
    edges_.push_back({top, bottom, x, step});
  }
  InsertionSort(edges_, [](const Edge& p, const Edge& q) { return p.top < q.top; });
}

void PolygonFiller::Fill(PixelRows& target, std::span<const ScreenPoint> polygon,
                         std::uint32_t color) {
  if (polygon.size() < 3) return;
  CollectEdges(polygon, target.Height());
  if (edges_.empty()) return;
  const Ink ink(color);
  // Corners a pixel or more inside on both sides: the crossings, which the
  // fixed point puts less than a pixel off the exact ones in a bitmap of
  // fewer than 65536 rows, need no clipping.
  const auto [leftmost, rightmost] =
      std::minmax_element(polygon.begin(), polygon.end(),
                          [](const ScreenPoint& p, const ScreenPoint& q) { return p.X < q.X; });
  const bool inside =
      leftmost->X >= 1 && rightmost->X <= target.Width() - 1 && target.Height() < 65536;
  const std::int64_t widest = std::int64_t{target.Width()} + 1;
  const auto column = [widest](std::int64_t x) {
    // x holds crossing + 1/2: its whole part is the first pixel whose centre
    // lies past the crossing.
    return static_cast<int>(std::clamp<std::int64_t>(x >> 16, -1, widest));
  };
  active_.clear();
  std::size_t next = 0;
  int row = edges_.front().top;
  while (true) {
    // The set of edges changes only where one ends or the next begins.
    std::erase_if(active_, [row](const Edge* e) { return e->bottom <= row; });
    if (active_.empty()) {
      if (next == edges_.size()) return;
      row = edges_[next].top;  // past a gap between parts of a non-convex polygon
    }
    while (next < edges_.size() && edges_[next].top == row) active_.push_back(&edges_[next++]);
    int change = next < edges_.size() ? edges_[next].top : target.Height();
    for (const Edge* e : active_) change = std::min(change, e->bottom);
    if (active_.size() == 2) {
      // The usual case, a convex polygon: one span per row.
      Edge& a = *active_[0];
      Edge& b = *active_[1];
      std::int64_t xa = a.x, xb = b.x;
      if (inside) {
        for (; row < change; ++row, xa += a.step, xb += b.step) {
          const int left = static_cast<int>(xa >> 16), right = static_cast<int>(xb >> 16);
          target.InsideSpan(row, std::min(left, right), std::max(left, right), ink);
        }
      }
      for (; row < change; ++row, xa += a.step, xb += b.step) {
        const int left = column(xa), right = column(xb);
        target.Span(row, std::min(left, right), std::max(left, right), ink);
      }
      a.x = xa;
      b.x = xb;
      continue;
    }
    for (; row < change; ++row) {
      crossings_.clear();
      for (Edge* e : active_) {
        crossings_.push_back(column(e->x));
        e->x += e->step;
      }
      InsertionSort(crossings_, [](int p, int q) { return p < q; });
      for (std::size_t k = 0; k + 1 < crossings_.size(); k += 2)
        target.Span(row, crossings_[k], crossings_[k + 1], ink);
    }
  }
}

}  // namespace brillora
