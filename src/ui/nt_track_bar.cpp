#include "ui/nt_track_bar.h"

#include <QPainter>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleOptionSlider>

namespace brillora {

namespace {

class ThumbStyle : public QProxyStyle {
 public:
  explicit ThumbStyle(const TNTrackBar& bar) : bar_(bar) {}
  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
    if (metric == PM_SliderLength && widget == &bar_) return bar_.ThumbLength();
    return QProxyStyle::pixelMetric(metric, option, widget);
  }

 private:
  const TNTrackBar& bar_;
};

}  // namespace

TNTrackBar::TNTrackBar(QWidget* parent)
    : QSlider(Qt::Horizontal, parent), style_(std::make_unique<ThumbStyle>(*this)) {
  setStyle(style_.get());
  setTickPosition(QSlider::TicksAbove);
  setTickInterval(100);
  setPageStep(10);
  setCursor(Qt::PointingHandCursor);
}

TNTrackBar::~TNTrackBar() { setStyle(nullptr); }

void TNTrackBar::SetThumbLength(int pixels) {
  thumbLength_ = pixels;
  updateGeometry();
  update();
}

void TNTrackBar::SetSelRangeVisible(bool visible) {
  if (visible == selRangeVisible_) return;
  selRangeVisible_ = visible;
  update();
}

void TNTrackBar::SetSelStart(int value) {
  selStart_ = value;
  update();
}

void TNTrackBar::SetSelEnd(int value) {
  selEnd_ = value;
  update();
}

void TNTrackBar::paintEvent(QPaintEvent* event) {
  QSlider::paintEvent(event);
  if (!SelectionBandShown()) return;
  QStyleOptionSlider option;
  initStyleOption(&option);
  const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
  const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
  const int span = groove.width() - handle.width();
  const auto xOf = [&](int value) {
    return groove.left() + handle.width() / 2 +
           QStyle::sliderPositionFromValue(minimum(), maximum(), value, span, option.upsideDown);
  };
  QPainter painter(this);
  const int y = groove.center().y();
  painter.fillRect(QRect(QPoint(xOf(selStart_), y - 2), QPoint(xOf(selEnd_), y + 2)),
                   palette().highlight());
}

}  // namespace brillora
