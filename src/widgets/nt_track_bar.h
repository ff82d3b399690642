#pragma once

#include <QSlider>
#include <memory>

class QProxyStyle;

namespace brillora {

// The slider every bar of the program uses: a horizontal track bar with ticks
// above, a hand cursor, and a plain channel. A selection band from SelStart to
// SelEnd is drawn along the channel only while SelRangeVisible is true; every
// bar of the program hides it.
class TNTrackBar : public QSlider {
  Q_OBJECT
  Q_PROPERTY(bool SelRangeVisible READ SelRangeVisible WRITE SetSelRangeVisible)
  Q_PROPERTY(int SelStart READ SelStart WRITE SetSelStart)
  Q_PROPERTY(int SelEnd READ SelEnd WRITE SetSelEnd)
  Q_PROPERTY(int ThumbLength READ ThumbLength WRITE SetThumbLength)

 public:
  static constexpr int kDefaultThumbLength = 18;

  explicit TNTrackBar(QWidget* parent = nullptr);
  ~TNTrackBar() override;

  bool SelRangeVisible() const { return selRangeVisible_; }
  void SetSelRangeVisible(bool visible);
  int SelStart() const { return selStart_; }
  void SetSelStart(int value);
  int SelEnd() const { return selEnd_; }
  void SetSelEnd(int value);

  // The thumb's extent along the channel, in pixels.
  int ThumbLength() const { return thumbLength_; }
  void SetThumbLength(int pixels);

  // Whether a selection band is drawn now: only when it is visible and not empty.
  bool SelectionBandShown() const { return selRangeVisible_ && selEnd_ > selStart_; }

 private:
  bool selRangeVisible_ = false;
  int selStart_ = 0;
  int selEnd_ = 0;
  int thumbLength_ = kDefaultThumbLength;
  // The platform's style with this bar's thumb length and channel.
  std::unique_ptr<QProxyStyle> style_;
};

}  // namespace brillora
