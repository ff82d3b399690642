#include "view/picture_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <utility>

#include "light/illumination_model.h"
#include "params/stone_parameters.h"
#include "trace/screen_mapping.h"
#include "view/export_picture.h"
#include "view/linear_to_color.h"
#include "view/measuring_segment.h"
#include "view/paint_lines.h"
#include "view/point_in_beam.h"
#include "view/screen_scale.h"
#include "view/view_matrix.h"
#include "widgets/file_drop.h"
#include "widgets/wait_cursor.h"

namespace brillora {

namespace {

constexpr double kCompanionOpacity = 200.0 / 255.0;

QPoint ToQPoint(PixelPoint p) { return {p.x, p.y}; }

}  // namespace

PictureWindow::PictureWindow(StoneParameters& parameters, const IlluminationModel& light, QWidget* parent)
    : QWidget(parent), parameters_(parameters), light_(light), popupMenu_(new QMenu(this)),
      button1_(new QPushButton("Reset", this)),
      animation_(AnimationCalls()),
      worker_([this](QImage picture, unsigned request) {
        // On the worker's thread: the window takes the picture in its own.
        auto accept = [this, picture = std::move(picture), request]() mutable {
          AcceptRefined(std::move(picture), request);
        };
        QMetaObject::invokeMethod(this, std::move(accept), Qt::QueuedConnection);
      }) {
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
  idle_.setSingleShot(true);
  idle_.setInterval(0);
  connect(&idle_, &QTimer::timeout, this, &PictureWindow::IdlePaint);
  parameters_.SetPictureWidth(width());
}

PictureWindow::~PictureWindow() = default;

void PictureWindow::SetStone(std::shared_ptr<const Stone> stone) {
  stone_ = std::move(stone);
  DropRefined();
}

void PictureWindow::SetRebuild() {
  rebuild_ = true;
  DropRefined();
}

void PictureWindow::DropRefined() {
  refinedValid_ = false;
  awaited_ = 0;
  worker_.Cancel();
}

void PictureWindow::GetinitialPositionClick() {
  view_ = IdentityFrame();
  rebuild_ = true;
  Repaint();
}

bool PictureWindow::ShowsCrown() const { return brillora::ShowsCrown(view_); }

void PictureWindow::Repaint() {
  DropRefined();
  update();
}

void PictureWindow::Recolour() {
  // Before the next trace the beams still belong to the last one; a trace that
  // is due colours its polygons itself.
  if (!rebuild_) {
    traces_.Recolour(light_, traced_.maxLevel < 0);
    emit screenChanged();
  }
  Repaint();
}

void PictureWindow::Rotate() {
  QElapsedTimer clock;
  clock.start();
  {
    const WaitCursor wait;
    FlipView(view_, [this](const Frame&) {
      SetRebuild();
      repaint();
    });
  }
  rebuild_ = true;  // the next paint traces again
  emit flipped(clock.elapsed());
}

PaintStyle PictureWindow::Style(const PictureSettings& settings) const {
  return PaintStyle{light_.BGColor(), settings.edges, settings.maxLevel < 0, settings.selectedStep};
}

std::optional<double> PictureWindow::Dispersion(const PictureSettings& settings) const {
  if (!settings.dispersion) return std::nullopt;
  return parameters_.Dispersion();
}

TraceOptions PictureWindow::Options(const PictureSettings& settings) const {
  TraceOptions options;
  options.RefractiveIndex = parameters_.RefractiveIndex();
  options.SurfaceRefl = settings.surfaceReflections;
  options.Reflected = settings.reflected;
  return options;
}

RefineRequest PictureWindow::RequestAt(int width, int height) const {
  const PictureSettings settings = source_ != nullptr ? source_->CurrentSettings() : PictureSettings{};
  PaintStyle style = Style(settings);
  style.SelectedStep = -1;
  return RefineRequest{stone_, light_.Snapshot(), view_,  settings.maxLevel,   Options(settings),
                       style,  width,             height, Dispersion(settings)};
}

void PictureWindow::Trace(const PictureSettings& settings) {
  const TraceOptions options = Options(settings);
  const std::optional<double> dispersion = Dispersion(settings);
  traces_.Trace(*stone_, view_, settings.maxLevel, FastScale(width(), height()), options, dispersion, light_);
  traced_ = {stone_, view_, settings.maxLevel, options, dispersion};
  emit screenChanged();
}

void PictureWindow::paintEvent(QPaintEvent* event) {
  const PictureSettings settings = source_ != nullptr ? source_->CurrentSettings() : PictureSettings{};
  QPainter painter(this);
  if (!storedFrame_.isNull()) {
    // A prepared animation plays: its frame, and the background where the
    // window has grown past the frame since the start.
    painter.drawImage(0, 0, storedFrame_);
    const QColor background = ToQColor(LinearToColor(light_.BGColor(), 1));
    const int right = width() - storedFrame_.width(), below = height() - storedFrame_.height();
    if (right > 0) painter.fillRect(storedFrame_.width(), 0, right, height(), background);
    if (below > 0) painter.fillRect(0, storedFrame_.height(), storedFrame_.width(), below, background);
    return;
  }
  const QRect area = rebuild_ ? rect() : event->rect();
  if (rebuild_) {
    Trace(settings);
    refinedValid_ = false;
  }
  rebuild_ = false;
  if (refinedValid_ && refined_.size() == size()) {
    painter.drawImage(area, refined_, area);
  } else {
    const PaintStyle style = Style(settings);
    PaintRectLines(area, traces_.Lines(), style, painter);
    // Any paint of the fast picture makes whatever the worker is drawing stale.
    DropRefined();
    // While an animation runs, the refined pass never starts.
    if (!animation_.Running()) {
      due_ = RefineRequest{traced_.stone, light_.Snapshot(), traced_.view, traced_.maxLevel, traced_.options,
                           style,         width(),           height(),     traced_.dispersion};
      refinePending_ = true;
      idle_.start();
    }
  }
  UpdateCaption();
  if (segmentShown_) {
    painter.setPen(QColor(255, 0, 0));
    const std::vector<QPoint> pixels =
        SegmentPixels(ToQPoint(parameters_.SegmentStart()), ToQPoint(parameters_.SegmentEnd()));
    painter.drawPoints(pixels.data(), static_cast<int>(pixels.size()));
  }
  UpdateTranslucency();
  emit repainted();
}

void PictureWindow::IdlePaint() {
  const PictureSettings settings = source_ != nullptr ? source_->CurrentSettings() : PictureSettings{};
  if (!refinePending_ || !settings.antiAliasing || !due_ || animation_.Running()) return;
  refinePending_ = false;
  awaited_ = worker_.Request(std::move(*due_));
  due_.reset();
}

void PictureWindow::AcceptRefined(QImage picture, unsigned request) {
  // A picture of a request no longer awaited shows an older state.
  if (request != awaited_ || picture.size() != size()) return;
  awaited_ = 0;
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
  traces_.ToScreen(FastScale(width(), height()));
  emit screenChanged();
  Repaint();
}

void PictureWindow::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  lastX_ = at.x();
  lastY_ = at.y();
  dragStart_ = NearPoint(at.x(), at.y(), ToQPoint(parameters_.SegmentStart()));
  dragEnd_ = NearPoint(at.x(), at.y(), ToQPoint(parameters_.SegmentEnd()));
  if (event->button() == Qt::RightButton) popupMenu_->popup(event->globalPosition().toPoint());
}

void PictureWindow::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  const bool nearEnd = NearPoint(at.x(), at.y(), ToQPoint(parameters_.SegmentStart())) ||
                       NearPoint(at.x(), at.y(), ToQPoint(parameters_.SegmentEnd()));
  setCursor(nearEnd && segmentShown_ ? Qt::SizeAllCursor : Qt::ArrowCursor);
  if (!(event->buttons() & Qt::LeftButton)) return;
  if (!dragStart_ && !dragEnd_) {
    if (MouseTurn(view_, lastX_, lastY_, at.x(), at.y(), width())) rebuild_ = true;
    lastX_ = at.x();
    lastY_ = at.y();
    Repaint();
    return;
  }
  // The segment moves only where it is drawn: on the parameters window's first page.
  if (!segmentShown_) return;
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
  // The second press of the double click marks the point.
  lastX_ = event->position().toPoint().x();
  lastY_ = event->position().toPoint().y();
  const ScreenScale scale = FastScale(width(), height());
  const FasetOnScreen* hit = PolygonAt(Screen(), PixelToView(lastX_, lastY_, scale.Scale, scale.CentreY));
  if (hit != nullptr && source_ != nullptr && hit->Beam->Facet != nullptr) {
    source_->SelectFacetStep(hit->Beam->Facet->Step);
  }
}

void PictureWindow::mouseReleaseEvent(QMouseEvent*) {
  dragStart_ = false;
  dragEnd_ = false;
}

void PictureWindow::dragEnterEvent(QDragEnterEvent* event) { WelcomeFiles(event); }

void PictureWindow::dropEvent(QDropEvent* event) {
  if (const std::optional<QString> file = TakeDroppedFile(event, kLongestDroppedDesign)) emit designDropped(*file);
}

void PictureWindow::closeEvent(QCloseEvent* event) {
  emit closing();
  animation_.Stop();
  event->accept();
}

void PictureWindow::Animate(AnimationVariant variant) {
  const PictureSettings settings = source_ != nullptr ? source_->CurrentSettings() : PictureSettings{};
  DropRefined();
  due_.reset();
  refinePending_ = false;
  animation_.Start(variant, AnimationScene{stone_, light_.Snapshot(), light_.BGColor(), settings.maxLevel,
                                           Options(settings), width(), height(), Dispersion(settings)});
}

void PictureWindow::StopAnimation(int tag) {
  if (animation_.Running() == VariantOfTag(tag)) animation_.Stop();
}

AnimationHost PictureWindow::AnimationCalls() {
  return AnimationHost{
      [this](int frame) { emit animationProgress(frame); },
      [this] { emit animationPrepared(); },
      [this](const Frame& view) {
        // Traced and drawn now, so that every frame of the wobble is seen.
        view_ = view;
        SetRebuild();
        repaint();
      },
      [this](const QImage& frame) {
        storedFrame_ = frame;
        repaint();
      },
      [this] { return light_.BGColor(); },
      [this](AnimationVariant variant, AnimationEnd end) { AnimationEnded(variant, end); }};
}

void PictureWindow::AnimationEnded(AnimationVariant variant, AnimationEnd end) {
  storedFrame_ = QImage();
  // "Tracing" leaves the view at its last frame; the prepared variants have
  // the window traced again from its own view.
  if (variant != AnimationVariant::Tracing) SetRebuild();
  Repaint();
  emit animationEnded(TagOf(variant));
  if (end == AnimationEnd::OutOfMemory) {
    QMessageBox::information(this, "Brillora", QString::fromUtf8(kPictureTooHigh.data(), kPictureTooHigh.size()));
  }
}

}  // namespace brillora
