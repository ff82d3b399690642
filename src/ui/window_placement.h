#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <vector>

namespace brillora {

// Where a window's frame goes on the screen's available area.
enum class FrameSpot {
  TopLeft,  // at the area's top-left corner
  RightOf,  // at the area's top, beside the frame of another window
  Centre,   // in the middle of the area
};

// The top-left corner of a frame of size `frame` at `spot` on `available`
// (`anchor` is the other window's frame for RightOf). The frame is kept inside
// the area as far as it fits, and where it does not fit, its top-left corner,
// with the caption, stays on the area.
QPoint FramePosition(const QRect& available, QSize frame, FrameSpot spot, const QRect& anchor = {});

// Places windows by their frames, so that each caption lies on the screen's
// available area. A window is placed before it is first shown, with the frame
// that the platform knows once the native window exists, and again as it is
// first shown, at the size it has then (a window may size itself, or be moved,
// in between); some desktops frame a window only when they show it, so it is
// placed once more, if its frame turned out elsewhere, when it is first
// exposed (and, beside another window, once that one is exposed too). After
// that the user owns the position.
class WindowPlacement : public QObject {
 public:
  // Before `window` is first shown; for RightOf, `anchor` is placed already.
  // It is placed again as it is first shown.
  void Place(QWidget& window, FrameSpot spot, const QWidget* anchor = nullptr);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Entry {
    QPointer<QWidget> window;
    FrameSpot spot = FrameSpot::Centre;
    const QWidget* anchor = nullptr;
    QRect frame;  // where the frame was put, until the desktop tells where it is
    bool shown = false;
    bool exposed = false;
    bool settled = false;
  };

  Entry* Find(const QWidget* window);
  QRect FrameOf(const Entry& entry) const;
  QRect Target(const Entry& entry, QSize frame);
  void Settle();

  std::vector<Entry> entries_;
};

}  // namespace brillora
