#include "view/picture_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QTimer>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QUrl>
#include <cmath>
#include <cstdlib>

#include "light/illumination_model.h"
#include "model/number_text.h"
#include "trace/plane_geometry.h"
#include "view/paint_polygons.h"
#include "view/paint_smooth.h"
#include "view/screen_scale.h"
#include "view/view_matrix.h"
#include "params/parameters_window.h"
#include "params/stone_parameters.h"

namespace brillora {

namespace {

constexpr int kMaxDroppedName = 256;
constexpr double kCompanionOpacity = 200.0 / 255.0;

int RoundInt(double value) { return static_cast<int>(RoundHalfEven(value)); }

}  // namespace

bool NearPoint(int x, int y, PixelPoint p) {
  const double dx = p.x - x;
  const double dy = p.y - y;
  return std::sqrt(dx * dx + dy * dy) < 5.0;
}

std::vector<QPoint> LinePixels(QPoint from, QPoint to) {
  // Bresenham's walk; the end point belongs to whatever is drawn next.
  std::vector<QPoint> pixels;
  int x = from.x();
  int y = from.y();
  const int dx = std::abs(to.x() - x);
  const int dy = -std::abs(to.y() - y);
  const int sx = x < to.x() ? 1 : -1;
  const int sy = y < to.y() ? 1 : -1;
  int error = dx + dy;
  while (x != to.x() || y != to.y()) {
    pixels.emplace_back(x, y);
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x += sx;
    }
    if (twice <= dx) {
      error += dx;
      y += sy;
    }
  }
  return pixels;
}

std::vector<QPoint> SegmentPixels(PixelPoint start, PixelPoint end) {
  double dx = end.x - start.x;
  double dy = end.y - start.y;
  if (dx == 0) dx = 1;
  if (dy == 0) dy = 1;
  const double k = dy / dx;
  const double norm = std::sqrt(1.0 + k * k);
  const int u = RoundInt(20.0 * std::abs(k) / norm);
  const int v = -RoundInt(20.0 * (k > 0 ? 1.0 : (k < 0 ? -1.0 : 0.0)) / norm);
  const QPoint p1(start.x, start.y);
  const QPoint p2(end.x, end.y);
  const QPoint offset(u, v);
  std::vector<QPoint> pixels = LinePixels(p1, p2);
  for (const auto& [a, b] : {std::pair{p1 + offset, p1 - offset}, std::pair{p2 + offset, p2 - offset}}) {
    const std::vector<QPoint> tick = LinePixels(a, b);
    pixels.insert(pixels.end(), tick.begin(), tick.end());
  }
  return pixels;
}

bool PointInBeam(const std::vector<FlatPoint*>& corners, const FlatPoint& q) {
  const std::size_t n = corners.size();
  if (n < 3) return false;
  bool found = false;
  for (std::size_t k = 1; k < n; ++k) {
    const FlatPoint& a = *corners[k - 1];
    const FlatPoint& b = *corners[k];
    if ((a.X > q.X) == (b.X >= q.X)) continue;
    if (trace::LeftOf(b, a, q)) return false;
    if (found) return true;
    found = true;
  }
  return found && !trace::LeftOf(*corners[0], *corners[n - 1], q);
}

PictureWindow::PictureWindow(StoneParameters& parameters, const IlluminationModel& light, QWidget* parent)
    : QWidget(parent), parameters_(parameters), light_(light), popupMenu_(new QMenu(this)),
      button1_(new QPushButton("Reset", this)) {
  setObjectName("Picture");
  setWindowTitle("Crown");
  resize(kInitialWidth, kInitialHeight);
  setMinimumSize(kInitialWidth, kInitialHeight);
  setAcceptDrops(true);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);  // every paint covers the whole area

  popupMenu_->setObjectName("PopupMenu");
  QAction* reset = popupMenu_->addAction("Reset to initial Position");
  reset->setObjectName("GetinitialPosition");
  connect(reset, &QAction::triggered, this, &PictureWindow::GetinitialPositionClick);
  button1_->setObjectName("Button1");
  button1_->setToolTip("Reset to initial Position");
  button1_->hide();
  connect(button1_, &QPushButton::clicked, this, &PictureWindow::GetinitialPositionClick);
  parameters_.SetPictureWidth(width());
}

PictureWindow::~PictureWindow() = default;

bool PictureWindow::SegmentShown() const {
  return parametersWindow_ != nullptr && parametersWindow_->isVisible() &&
         parametersWindow_->FirstPageActive();
}

void PictureWindow::GetinitialPositionClick() {
  view_ = IdentityFrame();
  rebuild_ = true;
  Repaint();
}

bool PictureWindow::ShowsCrown() const { return brillora::ShowsCrown(view_); }

void PictureWindow::Repaint() {
  refinedValid_ = false;
  update();
}

void PictureWindow::Rotate() {
  QElapsedTimer clock;
  clock.start();
  setCursor(Qt::WaitCursor);
  FlipView(view_, [this](const Frame&) {
    rebuild_ = true;
    refinedValid_ = false;
    repaint();
  });
  rebuild_ = true;  // the next paint traces again
  setCursor(Qt::ArrowCursor);
  emit flipped(clock.elapsed());
}

PaintStyle PictureWindow::Style(const PictureSettings& settings) const {
  return PaintStyle{light_.BGColor(), settings.edges, settings.maxLevel < 0, settings.selectedStep};
}

void PictureWindow::Trace(const PictureSettings& settings) {
  TraceOptions options;
  options.RefractiveIndex = parameters_.RefractiveIndex();
  options.SurfaceRefl = settings.surfaceReflections;
  options.Reflected = settings.reflected;
  const ScreenScale scale = FastScale(width(), height());
  tracer_.RayTrace(*stone_, view_, screen_, settings.maxLevel, scale.Scale, scale.CentreY, options, light_);
}

void PictureWindow::paintEvent(QPaintEvent* event) {
  ++paintGeneration_;
  const PictureSettings settings = source_ != nullptr ? source_->CurrentSettings() : PictureSettings{};
  QPainter painter(this);
  const QRect area = rebuild_ ? rect() : event->rect();
  if (rebuild_) {
    Trace(settings);
    refinedValid_ = false;
  }
  rebuild_ = false;
  if (refinedValid_ && refined_.size() == size()) {
    painter.drawImage(area, refined_, area);
  } else {
    PaintRect(area, screen_, Style(settings), painter);
    refinedValid_ = false;
    refinePending_ = true;
    QTimer::singleShot(0, this, &PictureWindow::IdlePaint);
  }
  UpdateCaption();
  if (SegmentShown()) {
    painter.setPen(QColor(255, 0, 0));
    const std::vector<QPoint> pixels = SegmentPixels(parameters_.SegmentStart(), parameters_.SegmentEnd());
    painter.drawPoints(pixels.data(), static_cast<int>(pixels.size()));
  }
  UpdateTranslucency();
}

void PictureWindow::IdlePaint() {
  const PictureSettings settings = source_ != nullptr ? source_->CurrentSettings() : PictureSettings{};
  if (refining_ || !refinePending_ || !settings.antiAliasing) return;
  refinePending_ = false;
  refining_ = true;
  const unsigned started = paintGeneration_;
  QImage picture(size(), QImage::Format_RGB32);
  const ScreenScale fine = FineScale(width(), height());
  tracer_.BeamsToScreenCopy(fine.Scale, fine.CentreY, screen_, fineScreen_);
  // The pass yields to the message loop; any paint meanwhile makes it stale.
  const SmoothResult result = PaintSmooth(picture, fineScreen_, Style(settings), [this, started] {
    QCoreApplication::processEvents();
    return paintGeneration_ != started;
  });
  refining_ = false;
  if (result != SmoothResult::Done || paintGeneration_ != started) return;
  refined_ = std::move(picture);
  refinedValid_ = true;
  update();
}

void PictureWindow::UpdateCaption() {
  const bool active = isActiveWindow();
  if (ShowsCrown()) {
    setWindowTitle("  Crown");
    captionColour_ = active ? QColor(255, 0, 0) : QColor(128, 0, 0);
  } else {
    setWindowTitle("  Pavilion");
    captionColour_ = active ? QColor(96, 128, 255) : QColor(0, 0, 128);
  }
}

void PictureWindow::UpdateTranslucency() {
  const double opacity = isMaximized() ? kCompanionOpacity : 1.0;
  for (QWidget* window : companions_) {
    if (window->windowOpacity() != opacity) window->setWindowOpacity(opacity);
  }
}

void PictureWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) UpdateTranslucency();
  if (event->type() == QEvent::ActivationChange || event->type() == QEvent::WindowStateChange) update();
}

void PictureWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  parameters_.SetPictureWidth(width());
  // The same beams, mapped to the new size: no new trace.
  const ScreenScale scale = FastScale(width(), height());
  tracer_.BeamsToScreen(scale.Scale, scale.CentreY, screen_);
  Repaint();
}

void PictureWindow::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  lastX_ = at.x();
  lastY_ = at.y();
  dragStart_ = NearPoint(at.x(), at.y(), parameters_.SegmentStart());
  dragEnd_ = NearPoint(at.x(), at.y(), parameters_.SegmentEnd());
  if (event->button() == Qt::RightButton) popupMenu_->popup(event->globalPosition().toPoint());
}

void PictureWindow::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  const bool nearEnd =
      NearPoint(at.x(), at.y(), parameters_.SegmentStart()) || NearPoint(at.x(), at.y(), parameters_.SegmentEnd());
  setCursor(nearEnd && SegmentShown() ? Qt::SizeAllCursor : Qt::ArrowCursor);
  if (!(event->buttons() & Qt::LeftButton)) return;
  if (!dragStart_ && !dragEnd_) {
    if (MouseTurn(view_, lastX_, lastY_, at.x(), at.y(), width())) rebuild_ = true;
    lastX_ = at.x();
    lastY_ = at.y();
    Repaint();
    return;
  }
  // The segment moves only where it is drawn: on the parameters window's first page.
  if (!SegmentShown()) return;
  const PixelPoint p{at.x(), at.y()};
  if (dragStart_) {
    parameters_.SetSegmentStart(p);
  } else {
    parameters_.SetSegmentEnd(p);
  }
  parameters_.ComputeWeight();
  Repaint();
}

void PictureWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of the double click marks the point; in view units it is
  // the inverse of the fast pass's mapping.
  lastX_ = event->position().toPoint().x();
  lastY_ = event->position().toPoint().y();
  const double c = width() / 2 - 1;
  const double m = height() / 2 - 1;
  const FlatPoint q{(lastX_ - c) / c, (lastY_ - m) / c};
  for (const FasetOnScreen& polygon : screen_) {
    if (polygon.Beam == nullptr || !PointInBeam(polygon.Beam->Points, q)) continue;
    if (source_ != nullptr && polygon.Beam->Facet != nullptr) source_->SelectFacetStep(polygon.Beam->Facet->Step);
    return;
  }
}

void PictureWindow::mouseReleaseEvent(QMouseEvent*) {
  dragStart_ = false;
  dragEnd_ = false;
}

void PictureWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void PictureWindow::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.isEmpty()) return;
  event->acceptProposedAction();
  emit designDropped(urls.first().toLocalFile().left(kMaxDroppedName));
}

void PictureWindow::closeEvent(QCloseEvent* event) {
  emit closing();
  QApplication::processEvents();
  if (clipboardUsed_ &&
      QMessageBox::question(this, "Brillora", "Do you want to keep picture in Clipboard?",
                            QMessageBox::Yes | QMessageBox::No) == QMessageBox::No) {
    QApplication::clipboard()->clear();
  }
  event->accept();
}

}  // namespace brillora
