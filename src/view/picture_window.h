#pragma once

#include <QColor>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

#include "model/design.h"
#include "params/weight.h"

class QMenu;
class QPushButton;

namespace brillora {

class ParametersWindow;
class StoneParameters;

// True when (x, y) lies closer than 5 pixels to p: near enough to grab a segment end.
bool NearPoint(int x, int y, PixelPoint p);

// The pixels of a line from `from` to `to`, the first included and the last not.
std::vector<QPoint> LinePixels(QPoint from, QPoint to);

// The pixels of the measuring segment drawn as a dimension line: the segment
// and a 40-pixel tick across each end.
std::vector<QPoint> SegmentPixels(PixelPoint start, PixelPoint end);

// The picture window: the application's main window, showing the stone and
// the measuring segment of the parameters window.
class PictureWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kInitialWidth = 450;
  static constexpr int kInitialHeight = 467;

  explicit PictureWindow(StoneParameters& parameters, QWidget* parent = nullptr);
  ~PictureWindow() override;

  // The parameters window is made after this one.
  void SetParametersWindow(const ParametersWindow* window) { parametersWindow_ = window; }
  // Windows made translucent while this one is maximized.
  void SetTranslucentCompanions(std::vector<QWidget*> windows) { companions_ = std::move(windows); }

  void SetStone(std::shared_ptr<const Stone> stone) { stone_ = std::move(stone); }
  // The view must be traced again before it is drawn next.
  void SetRebuild() { rebuild_ = true; }
  bool Rebuild() const { return rebuild_; }
  // An image was put on the clipboard during the run: closing asks whether to keep it.
  void SetClipboardUsed() { clipboardUsed_ = true; }

  // Whether the crown faces the viewer.
  bool ShowsCrown() const { return crownInView_; }
  // Turns the stone over, as the side switch of the design window asks.
  void Rotate();

  QString CaptionText() const { return windowTitle(); }
  QColor CaptionColour() const { return captionColour_; }
  bool SegmentShown() const;

 signals:
  // A design file was dropped on the window (the first file only).
  void designDropped(const QString& file);
  // The window is closing: running animations must stop and the program end.
  void closing();
  // "Reset to initial Position" was chosen.
  void resetRequested();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void GetinitialPositionClick();
  void UpdateCaption();
  void UpdateTranslucency();

  StoneParameters& parameters_;
  const ParametersWindow* parametersWindow_ = nullptr;
  std::vector<QWidget*> companions_;
  std::shared_ptr<const Stone> stone_ = std::make_shared<const Stone>();
  QMenu* popupMenu_;
  QPushButton* button1_;
  QColor captionColour_{255, 0, 0};
  bool crownInView_ = true;
  bool rebuild_ = true;
  bool clipboardUsed_ = false;
  int lastX_ = 0;
  int lastY_ = 0;
  bool dragStart_ = false;
  bool dragEnd_ = false;
};

}  // namespace brillora
