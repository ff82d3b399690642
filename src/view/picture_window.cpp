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
      renderer_(light, RendererCalls()),
      animation_(AnimationCalls()),
      worker_([this](QImage picture, unsigned request) {
        // On the worker's thread: the window takes the picture in its own.
        auto accept = [this, picture = std::move(picture), request]() mutable {
          renderer_.AcceptRefined(std::move(picture), request);
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
  connect(&idle_, &QTimer::timeout, this, [this] { renderer_.StartRefinedPass(); });
  parameters_.SetPictureWidth(width());
  renderer_.SetSize(width(), height());
}

PictureWindow::~PictureWindow() = default;

RendererHost PictureWindow::RendererCalls() {
  return RendererHost{
      [this](RefineRequest request) { return worker_.Request(std::move(request)); },
      [this] { worker_.Cancel(); },
      [this] { update(); }};
}

void PictureWindow::SetSettings(const PictureSettings& settings) {
  renderer_.SetSettings(settings);
  // Anti-aliasing turned on draws the refined picture of what is shown.
  ScheduleRefinedPass();
}

void PictureWindow::Recolour() {
  renderer_.Recolour();
  // A trace that is due colours its polygons itself, at the next paint.
  if (!renderer_.TraceDue() && renderer_.Update()) emit screenChanged();
}

void PictureWindow::ScheduleRefinedPass() {
  if (renderer_.RefinePending()) idle_.start();
}

void PictureWindow::ShowView(const Frame& view) {
  const bool crown = ShowsCrown();
  renderer_.SetView(view);
  if (ShowsCrown() != crown) emit sideShown(!crown);
}

void PictureWindow::GetinitialPositionClick() { ShowView(IdentityFrame()); }

void PictureWindow::Rotate() {
  QElapsedTimer clock;
  clock.start();
  {
    const WaitCursor wait;
    Frame view = View();
    FlipView(view, [this](const Frame& step) {
      ShowView(step);
      repaint();
    });
  }
  emit flipped(clock.elapsed());
}

void PictureWindow::paintEvent(QPaintEvent* event) {
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
  const bool polygonsChanged = renderer_.Update();
  if (polygonsChanged) emit screenChanged();
  renderer_.Paint(painter, polygonsChanged ? rect() : event->rect());
  ScheduleRefinedPass();
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
  renderer_.SetSize(width(), height());
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
    Frame view = View();
    if (MouseTurn(view, lastX_, lastY_, at.x(), at.y(), width())) ShowView(view);
    lastX_ = at.x();
    lastY_ = at.y();
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
  if (hit != nullptr && hit->Beam->Facet != nullptr) emit facetStepChosen(hit->Beam->Facet->Step);
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
  // Starting ends the animation that runs, which lets the refined pass go;
  // it is held again at once, while this one runs.
  animation_.Start(variant, AnimationScene{renderer_.ShownStone(), light_.Snapshot(), light_.BGColor(),
                                           Settings().maxLevel, renderer_.Options(), width(), height(),
                                           Settings().dispersion});
  renderer_.HoldRefinedPass(true);
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
        ShowView(view);
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
  renderer_.HoldRefinedPass(false);
  // "Tracing" leaves the view at its last frame; the prepared variants have
  // the window traced again from its own view.
  if (variant != AnimationVariant::Tracing) renderer_.Retrace();
  emit animationEnded(TagOf(variant));
  if (end == AnimationEnd::OutOfMemory) {
    QMessageBox::information(this, "Brillora", QString::fromUtf8(kPictureTooHigh.data(), kPictureTooHigh.size()));
  }
}

}  // namespace brillora
