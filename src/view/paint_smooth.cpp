#include "view/paint_smooth.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QVarLengthArray>

#include "view/linear_to_color.h"

namespace brillora {
namespace {

constexpr int kFactor = 5;
// A four-pixel pen with round ends reaches two pixels past the polygon's
// corners; one more keeps the band test clear of rounding.
constexpr int kPenReach = 3;

// A four-pixel pen lets the edges survive the five-fold filter.
constexpr int kPenWidth = 4;

bool Stopped(const StopCheck& stop) { return stop && stop(); }

// Draws polygons filled and outlined with the wide pen, moved up by
// `rowOffset` pixels; it hands the painter a new pen or brush only when the
// colour changes.
class PolygonPainter {
 public:
  PolygonPainter(QPainter& painter, const PaintStyle& style) : painter_(painter), style_(style) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
  }

  void Draw(const FasetOnScreen& polygon, int rowOffset) {
    const std::uint32_t fill = LinearToColor(polygon.Color, HighlightFactor(polygon, style_));
    // Without edges the outline takes the polygon's unhighlighted colour, so
    // it disappears into the fill except on a highlighted facet's rim.
    const std::uint32_t outline = style_.Edges ? kEdgeColor : LinearToColor(polygon.Color, 1);
    if (fill != fill_) {
      painter_.setBrush(ToQColor(fill));
      fill_ = fill;
    }
    if (outline != outline_) {
      painter_.setPen(
          QPen(ToQColor(outline), kPenWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      outline_ = outline;
    }
    QVarLengthArray<QPoint, 64> points;
    for (const ScreenPoint& p : polygon.Polygon) points.append(QPoint(p.X, p.Y - rowOffset));
    painter_.drawPolygon(points.data(), static_cast<int>(points.size()));
  }

 private:
  QPainter& painter_;
  const PaintStyle& style_;
  std::uint32_t fill_ = 0xFFFFFFFF;  // no 24-bit colour: the first polygon sets both
  std::uint32_t outline_ = 0xFFFFFFFF;
};

// Where the channels of one pixel lie in a row of a 24-bit or 32-bit image.
struct PixelLayout {
  int bytes;
  int red;
  int green;
  int blue;
};

PixelLayout LayoutOf(const QImage& image) {
  // RGB32 pixels are 0xffRRGGBB words, stored blue first on little-endian machines.
  if (image.format() == QImage::Format_RGB888) return {3, 0, 1, 2};
  if constexpr (std::endian::native == std::endian::little) return {4, 2, 1, 0};
  return {4, 1, 2, 3};
}

struct RowSpan {
  int top = 0;
  int bottom = 0;  // inclusive
};

std::vector<RowSpan> PolygonRows(const ArrayOfFOS& screen) {
  std::vector<RowSpan> rows;
  rows.reserve(screen.size());
  for (const FasetOnScreen& polygon : screen) {
    RowSpan span{0, -1};
    if (!polygon.Polygon.empty()) {
      const auto [low, high] = std::minmax_element(
          polygon.Polygon.begin(), polygon.Polygon.end(),
          [](const ScreenPoint& a, const ScreenPoint& b) { return a.Y < b.Y; });
      span = {low->Y - kPenReach, high->Y + kPenReach};
    }
    rows.push_back(span);
  }
  return rows;
}

// Big rows that target rows [first, end) read.
int BandTop(int firstRow) { return std::max(0, kFactor * firstRow - 2); }
int BandEnd(int endRow) { return kFactor * endRow - 2; }

// Target rows per band within the budget, and the band bitmap allocated for
// them; halves the rows while memory refuses.
QImage AllocateBand(int width, int height, std::size_t bandBytes, int& rowsPerBand) {
  const std::size_t bigRowBytes = static_cast<std::size_t>(kFactor) * width * 3;
  const std::size_t perTargetRow = bigRowBytes * kFactor;
  rowsPerBand = static_cast<int>(std::clamp<std::size_t>(bandBytes / perTargetRow, 1,
                                                         static_cast<std::size_t>(height)));
  while (true) {
    const int bigRows = BandEnd(rowsPerBand) - BandTop(0) + 2;  // room for any band's clamp
    QImage band(kFactor * width, bigRows, QImage::Format_RGB32);
    if (!band.isNull() || rowsPerBand == 1) return band;
    rowsPerBand = std::max(1, rowsPerBand / 2);
  }
}

}  // namespace

bool FilterDown(const QImage& band, int bandTop, QImage& target, int firstRow, int endRow,
                const StopCheck& stop) {
  const PixelLayout from = LayoutOf(band), to = LayoutOf(target);
  const int width = target.width();
  const int bigWidth = kFactor * width;
  // Per big column the sums of the five source rows, red, green and blue.
  std::vector<int> columnSums(static_cast<std::size_t>(bigWidth) * 3);
  for (int y = endRow - 1; y >= firstRow; --y) {
    if (Stopped(stop)) return false;
    // Each of the five source rows is raised to row 0 when it lies above it.
    std::fill(columnSums.begin(), columnSums.end(), 0);
    for (int r = 0; r < kFactor; ++r) {
      const std::uint8_t* row = band.constScanLine(std::max(0, kFactor * y - 2 + r) - bandTop);
      for (int c = 0; c < bigWidth; ++c) {
        const std::uint8_t* pixel = row + c * from.bytes;
        columnSums[3 * c] += pixel[from.red];
        columnSums[3 * c + 1] += pixel[from.green];
        columnSums[3 * c + 2] += pixel[from.blue];
      }
    }
    std::uint8_t* out = target.scanLine(y);
    for (int x = 0; x < width; ++x) {
      // Only the start column is clamped: column 0 reads columns 0 to 4.
      const int* sums = columnSums.data() + 3 * std::max(0, kFactor * x - 2);
      int channel[3] = {0, 0, 0};
      for (int c = 0; c < kFactor; ++c)
        for (int k = 0; k < 3; ++k) channel[k] += sums[3 * c + k];
      // 41 / 1024 stands for 1 / 25; the largest sum, 6375, gives 255.
      std::uint8_t* pixel = out + x * to.bytes;
      pixel[to.red] = static_cast<std::uint8_t>((channel[0] * 41) >> 10);
      pixel[to.green] = static_cast<std::uint8_t>((channel[1] * 41) >> 10);
      pixel[to.blue] = static_cast<std::uint8_t>((channel[2] * 41) >> 10);
    }
  }
  return true;
}

SmoothResult PaintSmooth(QImage& target, const ArrayOfFOS& fineScreen, const PaintStyle& style,
                         const StopCheck& stop, std::size_t bandBytes) {
  if (target.format() != QImage::Format_RGB888 && target.format() != QImage::Format_RGB32)
    target = target.convertToFormat(QImage::Format_RGB888);
  const int width = target.width(), height = target.height();
  if (width <= 0 || height <= 0) return SmoothResult::Done;
  int rowsPerBand = 0;
  QImage band = AllocateBand(width, height, bandBytes, rowsPerBand);
  if (band.isNull()) return SmoothResult::TooLarge;
  const std::vector<RowSpan> spans = PolygonRows(fineScreen);
  const QColor background = ToQColor(LinearToColor(style.Background, 1));

  // Bands from the bottom up, as the rows are filtered.
  for (int end = height; end > 0; end -= rowsPerBand) {
    const int first = std::max(0, end - rowsPerBand);
    const int top = BandTop(first), bottom = BandEnd(end);  // big rows [top, bottom)
    band.fill(background);
    {
      QPainter painter(&band);
      PolygonPainter draw(painter, style);
      for (std::size_t i = 0; i < fineScreen.size(); ++i) {
        if (spans[i].bottom < top || spans[i].top >= bottom) continue;
        if (Stopped(stop)) return SmoothResult::Abandoned;
        draw.Draw(fineScreen[i], top);
      }
    }
    if (!FilterDown(band, top, target, first, end, stop)) return SmoothResult::Abandoned;
  }
  return SmoothResult::Done;
}

}  // namespace brillora
