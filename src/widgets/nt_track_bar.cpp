#include "widgets/nt_track_bar.h"

#include <QPainter>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleOptionSlider>
#include <algorithm>

namespace brillora {

namespace {

// The platform's style with the bar's own thumb length and its own channel:
// some styles (Fusion among them) fill the channel up to the thumb, which reads
// as a selection band, so the channel is drawn as if the thumb stood at its
// start, the band (when shown) over it, and the ticks and thumb on top.
class TrackBarStyle : public QProxyStyle {
 public:
  explicit TrackBarStyle(const TNTrackBar& bar) : bar_(bar) {}

  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
    if (metric == PM_SliderLength && widget == &bar_) return bar_.ThumbLength();
    return QProxyStyle::pixelMetric(metric, option, widget);
  }

  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                          const QWidget* widget) const override {
    const auto* slider = qstyleoption_cast<const QStyleOptionSlider*>(option);
    if (control != CC_Slider || widget != &bar_ || slider == nullptr) {
      QProxyStyle::drawComplexControl(control, option, painter, widget);
      return;
    }
    if (slider->subControls & SC_SliderGroove) {
      QStyleOptionSlider channel = *slider;
      channel.subControls = SC_SliderGroove;
      channel.activeSubControls = SC_None;
      channel.sliderPosition = slider->upsideDown ? slider->maximum : slider->minimum;
      channel.sliderValue = channel.sliderPosition;
      QProxyStyle::drawComplexControl(CC_Slider, &channel, painter, widget);
      if (bar_.SelectionBandShown()) DrawSelectionBand(*slider, painter);
    }
    QStyleOptionSlider rest = *slider;
    rest.subControls &= ~SC_SliderGroove;
    QProxyStyle::drawComplexControl(CC_Slider, &rest, painter, widget);
  }

 private:
  // The band runs between the thumb's centres at the two ends of the selection.
  void DrawSelectionBand(const QStyleOptionSlider& slider, QPainter* painter) const {
    const QRect groove = subControlRect(CC_Slider, &slider, SC_SliderGroove, &bar_);
    const auto centreAt = [&](int value) {
      QStyleOptionSlider at = slider;
      at.sliderPosition = value;
      at.sliderValue = value;
      return subControlRect(CC_Slider, &at, SC_SliderHandle, &bar_).center();
    };
    const QPoint from = centreAt(bar_.SelStart());
    const QPoint to = centreAt(bar_.SelEnd());
    QRect band;
    if (slider.orientation == Qt::Horizontal) {
      band = QRect(QPoint(std::min(from.x(), to.x()), groove.top() + 1),
                   QPoint(std::max(from.x(), to.x()), groove.bottom() - 1));
    } else {
      band = QRect(QPoint(groove.left() + 1, std::min(from.y(), to.y())),
                   QPoint(groove.right() - 1, std::max(from.y(), to.y())));
    }
    painter->fillRect(band, slider.palette.highlight());
  }

  const TNTrackBar& bar_;
};

}  // namespace

TNTrackBar::TNTrackBar(QWidget* parent)
    : QSlider(Qt::Horizontal, parent), style_(std::make_unique<TrackBarStyle>(*this)) {
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

}  // namespace brillora
