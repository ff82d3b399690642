#pragma once

#include <string>

#include "output/page_geometry.h"
#include "output/sheet_layout.h"

namespace brillora {

// The content rectangle in preview pixels, relative to the page preview.
struct PageRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool Unset() const { return right == 0 && bottom == 0; }
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const PageRect&) const = default;
};

// The four margins in per cent: top and bottom of the page height, left and
// right of its width.
struct Margins {
  double top = 10;
  double left = 10;
  double right = 10;
  double bottom = 10;
  bool operator==(const Margins&) const = default;
};

// The numeric fields of the alignment window by their tags.
enum class LayoutField { None = 0, Width = 3, Height = 4, Top = 9, Left = 10, Right = 11, Bottom = 12 };

// What the fields and labels show of a rectangle: per cent values and cm texts
// (one decimal in a field of four).
struct LayoutView {
  double width = 0;  // per cent of the page
  double height = 0;
  Margins margins;
  std::string widthCm, heightCm, topCm, leftCm, rightCm, bottomCm;
};

// The first rectangle: a square 10 % in from the left and top edges.
PageRect DefaultRect(int W, int H);

// "Center X" and "Center Y": the rectangle keeps its size (at least 5 pixels)
// and is centred across or down.
PageRect Centered(PageRect rect, int W, int H, bool centerX, bool centerY);

// The fields and labels for a rectangle on a page.
LayoutView ViewOf(const PageRect& rect, const PageGeometry& page);

// The part of the rectangle under a point relative to its top-left corner:
// 0 .. 8, column + 3 row, the outer quarters being the edges.
int Zone(int x, int y, int w, int h);

// The rectangle after a drag of (dx, dy) that began in `zone` on `atPress`:
// edges stop 5 pixels short of the opposite edge and at the page border; the
// middle zone moves the whole frame, which shrinks where it meets the border.
PageRect Dragged(const PageRect& atPress, int zone, int dx, int dy, int W, int H);

// A typed field applied to the margins: the width or height field takes its
// excess from the side margins; a margin field leaves at least 2 % for the
// content. `previous` is what the width or height field showed before.
Margins AppliedField(LayoutField field, double value, double previous, const Margins& margins);

// The rectangle the four margins leave, as a typed field rebuilds it.
PageRect RectFromMargins(const Margins& margins, int W, int H);
// The same after the page preview changed size: right and bottom measured from the far edges.
PageRect RectFromMarginsResized(const Margins& margins, int W, int H);

// Where OK prints the rectangle, in printer pixels.
SheetArea PrinterArea(const PageRect& rect, const PageGeometry& page);

// A window size asked for while laid out, turned into a uniform scaling of the
// page preview (W x H); the client area never gets lower than kLeastClientHeight.
struct WindowSize {
  int width = 0;
  int height = 0;
  bool operator==(const WindowSize&) const = default;
};
inline constexpr int kLeastClientHeight = 353;
// The page preview of a window at its least height: the right-hand panel
// less its 8-pixel borders.
inline constexpr int kInitialPreviewHeight = kLeastClientHeight - 16;
WindowSize UniformResize(const WindowSize& current, const WindowSize& requested, int W, int H);

}  // namespace brillora
