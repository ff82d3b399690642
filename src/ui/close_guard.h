#pragma once

#include <QObject>
#include <functional>

namespace brillora {

// Lets a window close only when `mayClose` agrees: installed as an event
// filter, it swallows a close that the question before it turned down.
class CloseGuard : public QObject {
  Q_OBJECT

 public:
  explicit CloseGuard(std::function<bool()> mayClose, QObject* parent = nullptr);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<bool()> mayClose_;
};

}  // namespace brillora
