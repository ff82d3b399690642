#include "output/print_layout.h"

#include <algorithm>

#include "model/number_text.h"
#include "output/single_round.h"

namespace brillora {

namespace {

constexpr int kLeastEdge = 5;      // pixels between opposite edges
constexpr double kLeastSize = 2;   // per cent of the page left for the content

std::string Cm(double value) { return FormatFixed(value, 4, 1); }

// The side margins after the width (or height) field changed by `excess`.
void TakeExcess(double value, double previous, double& a, double& b) {
  const double excess = value + a + b - 100;
  const bool split = (value > previous && a > 0 && b > 0) || value < previous;
  const double share = split ? excess / 2 : excess;
  a = std::max(a - share, 0.0);
  b = std::max(b - share, 0.0);
}

double Limited(double value, double other) {
  return std::max(0.0, std::min(value, 100 - kLeastSize - RoundSingle(other)));
}

}  // namespace

PageRect DefaultRect(int W, int H) {
  PageRect r;
  r.left = RoundSingle(0.1 * W);
  r.top = RoundSingle(0.1 * H);
  r.right = RoundSingle(0.9 * W);
  r.bottom = RoundSingle(0.8 * W + r.top);
  if (0.9 * H < 0.8 * W + r.top) {
    r.bottom = RoundSingle(0.9 * H);
    r.right = RoundSingle(0.8 * H + r.left);
  }
  return r;
}

PageRect Centered(PageRect r, int W, int H, bool centerX, bool centerY) {
  if (centerX) {
    const int w = std::max(kLeastEdge, r.right - r.left);
    r.left = RoundSingle((W - w) / 2.0);
    r.right = W - r.left;
  }
  if (centerY) {
    const int h = std::max(kLeastEdge, r.bottom - r.top);
    r.top = RoundSingle((H - h) / 2.0);
    r.bottom = H - r.top;
  }
  return r;
}

LayoutView ViewOf(const PageRect& r, const PageGeometry& page) {
  const double W = page.width;
  const double H = page.height;
  const double cm = page.cmPerPixel;
  LayoutView v;
  v.widthCm = Cm(r.Width() * cm);
  v.heightCm = Cm(r.Height() * cm);
  v.width = r.Width() / W * 100;
  v.height = r.Height() / H * 100;
  v.topCm = Cm(r.top * cm);
  v.leftCm = Cm(r.left * cm);
  v.rightCm = Cm((W - r.right) * cm);
  v.bottomCm = Cm((H - r.bottom) * cm);
  v.margins = {r.top / H * 100, r.left / W * 100, (1 - r.right / W) * 100, (1 - r.bottom / H) * 100};
  return v;
}

int Zone(int x, int y, int w, int h) {
  const auto third = [](int p, int size) { return 4 * p <= size ? 0 : 4 * p > 3 * size ? 2 : 1; };
  return third(x, w) + 3 * third(y, h);
}

PageRect Dragged(const PageRect& p, int zone, int dx, int dy, int W, int H) {
  PageRect r = p;
  if (zone == 4) {
    r.top = std::max(0, std::min(p.top + dy, H - kLeastEdge));
    r.left = std::max(0, std::min(p.left + dx, W - kLeastEdge));
    r.right = std::min(W, std::max(p.right + dx, kLeastEdge));
    r.bottom = std::min(H, std::max(p.bottom + dy, kLeastEdge));
    return r;
  }
  const int column = zone % 3;
  const int row = zone / 3;
  if (row == 0) r.top = std::max(0, std::min(p.top + dy, p.bottom - kLeastEdge));
  if (column == 0) r.left = std::max(0, std::min(p.left + dx, p.right - kLeastEdge));
  if (column == 2) r.right = std::min(W, std::max(p.right + dx, p.left + kLeastEdge));
  if (row == 2) r.bottom = std::min(H, std::max(p.bottom + dy, p.top + kLeastEdge));
  return r;
}

Margins AppliedField(LayoutField field, double value, double previous, const Margins& m) {
  Margins r = m;
  switch (field) {
    case LayoutField::Width:
      TakeExcess(value, previous, r.left, r.right);
      break;
    case LayoutField::Height:
      TakeExcess(value, previous, r.top, r.bottom);
      break;
    case LayoutField::Top:
      r.top = Limited(value, m.bottom);
      break;
    case LayoutField::Bottom:
      r.bottom = Limited(value, m.top);
      break;
    case LayoutField::Left:
      r.left = Limited(value, m.right);
      break;
    case LayoutField::Right:
      r.right = Limited(value, m.left);
      break;
    case LayoutField::None:
      break;
  }
  return r;
}

PageRect RectFromMargins(const Margins& m, int W, int H) {
  return {RoundSingle(m.left / 100 * W), RoundSingle(m.top / 100 * H), RoundSingle((1 - m.right / 100) * W),
          RoundSingle((1 - m.bottom / 100) * H)};
}

PageRect RectFromMarginsResized(const Margins& m, int W, int H) {
  return {RoundSingle(m.left / 100 * W), RoundSingle(m.top / 100 * H), W - RoundSingle(m.right / 100 * W),
          H - RoundSingle(m.bottom / 100 * H)};
}

SheetArea PrinterArea(const PageRect& r, const PageGeometry& page) {
  SheetArea area;
  area.x = RoundSingle(r.left / page.scaleX);
  area.y = RoundSingle(r.top / page.scaleY);
  area.w = RoundSingle(r.Width() / page.scaleX);
  area.h = RoundSingle(r.Height() / page.scaleY);
  area.toPrinter = true;
  area.scaleX = page.scaleX;
  area.scaleY = page.scaleY;
  return area;
}

WindowSize UniformResize(const WindowSize& current, const WindowSize& requested, int W, int H) {
  const double dW = requested.width - current.width;
  const double dH = requested.height - current.height;
  const double t = (dW * W + dH * H) / (static_cast<double>(W) * W + static_cast<double>(H) * H);
  WindowSize next{current.width, current.height + RoundSingle(H * t)};
  if (next.height < kLeastClientHeight) {
    next.height = kLeastClientHeight;
    return next;
  }
  next.width = current.width + RoundSingle(W * t);
  return next;
}

}  // namespace brillora
