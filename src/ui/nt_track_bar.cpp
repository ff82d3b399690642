#include "ui/nt_track_bar.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

namespace brillora {

TNTrackBar::TNTrackBar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
  setTickPosition(QSlider::TicksAbove);
  setTickInterval(100);
  setPageStep(10);
  setCursor(Qt::PointingHandCursor);
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
