#include "ui/window_placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>

namespace brillora {

namespace {

QRect AvailableArea() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect();
}

// The frame around a window's client area as far as the platform knows it:
// nothing before the native window exists.
QMargins KnownFrame(const QWidget& window) {
  const QWindow* handle = window.windowHandle();
  return handle != nullptr ? handle->frameMargins() : QMargins();
}

}  // namespace

QPoint FramePosition(const QRect& available, QSize frame, FrameSpot spot, const QRect& anchor) {
  QPoint at = available.topLeft();
  if (spot == FrameSpot::RightOf) {
    at.setX(anchor.right() + 1);
  } else if (spot == FrameSpot::Centre) {
    at += QPoint((available.width() - frame.width()) / 2, (available.height() - frame.height()) / 2);
  }
  // The right and bottom edges give way first, so that a frame too large
  // keeps its caption on the area.
  at.setX(std::max(available.left(), std::min(at.x(), available.right() + 1 - frame.width())));
  at.setY(std::max(available.top(), std::min(at.y(), available.bottom() + 1 - frame.height())));
  return at;
}

void WindowPlacement::Place(QWidget& window, FrameSpot spot, const QWidget* anchor) {
  // The size the first show would give it, so that the frame is placed whole.
  if (!window.testAttribute(Qt::WA_Resized)) window.adjustSize();
  entries_.push_back(Entry{&window, spot, anchor, {}, false, false, false});
  Entry& entry = entries_.back();
  // Moved before its native window exists, a window is placed by its frame
  // wherever the desktop frames it.
  entry.frame = Target(entry, window.size().grownBy(KnownFrame(window)));
  window.move(entry.frame.topLeft());
  window.winId();  // makes the native window
  // Where the platform knows the frame as soon as the window exists, the
  // frame can be placed exactly now.
  const QRect known = Target(entry, window.size().grownBy(KnownFrame(window)));
  if (known.topLeft() != entry.frame.topLeft()) window.move(known.topLeft());
  entry.frame = known;
  if (QWindow* handle = window.windowHandle()) handle->installEventFilter(this);
  window.installEventFilter(this);
}

WindowPlacement::Entry* WindowPlacement::Find(const QWidget* window) {
  const auto found = std::find_if(entries_.begin(), entries_.end(),
                                  [window](const Entry& e) { return e.window == window; });
  return found != entries_.end() ? &*found : nullptr;
}

QRect WindowPlacement::FrameOf(const Entry& entry) const {
  return entry.exposed && entry.window ? entry.window->frameGeometry() : entry.frame;
}

QRect WindowPlacement::Target(const Entry& entry, QSize frame) {
  const Entry* anchor = entry.anchor != nullptr ? Find(entry.anchor) : nullptr;
  const QRect anchorFrame = anchor != nullptr ? FrameOf(*anchor) : QRect();
  return QRect(FramePosition(AvailableArea(), frame, entry.spot, anchorFrame), frame);
}

bool WindowPlacement::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show) {
    // Before the desktop maps it: the frame at the size the window has now.
    for (Entry& entry : entries_) {
      if (entry.window != watched || entry.shown) continue;
      entry.shown = true;
      entry.frame = Target(entry, entry.window->size().grownBy(KnownFrame(*entry.window)));
      if (entry.window->frameGeometry().topLeft() != entry.frame.topLeft()) entry.window->move(entry.frame.topLeft());
    }
    return false;
  }
  if (event->type() == QEvent::Hide) {
    // Hidden before the desktop's frame was known: whoever shows it next says where.
    for (Entry& entry : entries_) {
      if (entry.window == watched && entry.shown) entry.settled = true;
    }
    return false;
  }
  if (event->type() != QEvent::Expose) return false;
  const auto* handle = qobject_cast<QWindow*>(watched);
  if (handle == nullptr || !handle->isExposed()) return false;
  for (Entry& entry : entries_) {
    if (entry.window && entry.window->windowHandle() == handle && !entry.exposed) {
      entry.exposed = true;
      // Once the exposure is handled, the frame the desktop gave is known.
      QTimer::singleShot(0, this, &WindowPlacement::Settle);
    }
  }
  return false;
}

void WindowPlacement::Settle() {
  for (Entry& entry : entries_) {
    if (entry.settled || !entry.exposed || !entry.window) continue;
    const Entry* anchor = entry.anchor != nullptr ? Find(entry.anchor) : nullptr;
    if (anchor != nullptr && !anchor->exposed) continue;
    const QRect frame = entry.window->frameGeometry();
    const QRect target = Target(entry, frame.size());
    if (target.topLeft() != frame.topLeft()) entry.window->move(target.topLeft());
    entry.settled = true;
  }
}

}  // namespace brillora
