#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <utility>
#include <vector>

#include "model/design.h"
#include "trace/frame.h"
#include "trace/screen_polygon.h"
#include "view/animation_player.h"
#include "view/animation_variant.h"
#include "view/picture_renderer.h"
#include "view/picture_settings.h"
#include "view/refine_worker.h"
#include "view/view_matrix.h"

class QMenu;
class QPushButton;

namespace brillora {

class IlluminationModel;
class StoneParameters;

// The picture window: the application's main window, showing the stone and
// the measuring segment of the stone parameters. Its renderer draws the fast
// picture at once on every change and has the window's worker draw the
// anti-aliased one, which replaces it only if nothing changed meanwhile. The
// window turns the view by the mouse and is told everything else it shows.
class PictureWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kInitialWidth = 450;
  static constexpr int kInitialHeight = 467;

  PictureWindow(StoneParameters& parameters, const IlluminationModel& light, QWidget* parent = nullptr);
  ~PictureWindow() override;

  // Windows made translucent while this one is maximized.
  void SetTranslucentCompanions(std::vector<QWidget*> windows) { companions_ = std::move(windows); }

  void SetStone(std::shared_ptr<const Stone> stone) { renderer_.SetStone(std::move(stone)); }
  // The menu switches, the selected step and the refractive index, whole.
  void SetSettings(const PictureSettings& settings);
  const PictureSettings& Settings() const { return renderer_.Settings(); }
  // The view must be traced again before it is drawn next.
  void SetRebuild() { renderer_.Retrace(); }
  bool Rebuild() const { return renderer_.TraceDue(); }
  // Draws the picture anew (the refined picture, if any, is dropped).
  void Repaint() { renderer_.Redraw(); }
  // The surroundings changed: the traced polygons take their new colours at
  // once (the light map reads them), and the picture is drawn anew, without
  // a new trace.
  void Recolour();

  // Whether the crown faces the viewer.
  bool ShowsCrown() const { return brillora::ShowsCrown(View()); }
  const Frame& View() const { return renderer_.View(); }
  // Turns the stone over in a hundred traced steps, as the side switch asks.
  void Rotate();
  // The polygons of the last fast pass, in pixels of the window.
  const ArrayOfFOS& Screen() const { return renderer_.Screen(); }
  // Every trace of the last fast pass, one or three (PictureTraces::Lines).
  std::span<const ArrayOfFOS> Lines() const { return renderer_.Lines(); }
  // What the refined pass would draw of the current view at another size,
  // highlighting no step: the export and the printed image draw this.
  RefineRequest RequestAt(int width, int height) const { return renderer_.RequestAt(width, height); }
  // A refined picture is due and not yet drawn.
  bool RefinePending() const { return renderer_.RefinePending(); }
  // The refined picture replaced the fast one.
  bool RefinedShown() const { return renderer_.RefinedShown(); }
  // The refined picture shown, while RefinedShown.
  const QImage& RefinedPicture() const { return renderer_.RefinedPicture(); }

  QString CaptionText() const { return windowTitle(); }
  QColor CaptionColour() const { return captionColour_; }
  // Whether the measuring segment is drawn and its ends can be dragged (the
  // parameters window shows its first page).
  void SetSegmentShown(bool shown) { segmentShown_ = shown; }
  bool SegmentShown() const { return segmentShown_; }

  // The wobble of the "Animation" items, one method per Tag 0 .. 4. Each ends
  // the animation that runs, if any; the frames are taken at the window's
  // present size, view settings and surroundings.
  void AnimateTrc() { Animate(AnimationVariant::Tracing); }
  void AnimatePol() { Animate(AnimationVariant::Polygons); }
  void AnimateJPG() { Animate(AnimationVariant::Jpeg); }
  void AnimateBMP() { Animate(AnimationVariant::Bitmap); }
  void AnimateGIF() { Animate(AnimationVariant::Gif); }
  void Animate(AnimationVariant variant);
  // Stops the animation of that Tag if it is the one that runs.
  void StopAnimation(int tag);
  const AnimationPlayer& Animation() const { return animation_; }
  // The most memory an animation's frames may take, from the next start on.
  void SetAnimationMemoryBudget(std::size_t bytes) { animation_.SetMemoryBudget(bytes); }

 signals:
  // A double click on a facet of that step of the construction order.
  void facetStepChosen(int step);
  // The view turned past the girdle plane: the crown (or the pavilion) faces
  // the viewer now.
  void sideShown(bool crown);
  // A design file was dropped on the window (the first file only).
  void designDropped(const QString& file);
  // The window is closing: running animations must stop and the program end.
  void closing();
  // The flip took that many milliseconds.
  void flipped(qint64 milliseconds);
  // The preparation of an animation's frame (0 .. 99) began; at 0 the progress shows.
  void animationProgress(int frame);
  // The preparation is over, finished or cut short: the progress goes.
  void animationPrepared();
  // The animation of that Tag ended: its item loses its check mark.
  void animationEnded(int tag);
  // The polygons of Screen were traced, mapped or coloured anew.
  void screenChanged();
  // The window painted itself: a preview of the same view may follow it.
  void repainted();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void GetinitialPositionClick();
  // Every turn of the view comes here, so that a change of side is told.
  void ShowView(const Frame& view);
  void UpdateCaption();
  RendererHost RendererCalls();
  // The refined pass starts once pending events are handled.
  void ScheduleRefinedPass();
  void UpdateTranslucency();
  AnimationHost AnimationCalls();
  void AnimationEnded(AnimationVariant variant, AnimationEnd end);

  StoneParameters& parameters_;
  const IlluminationModel& light_;
  std::vector<QWidget*> companions_;
  QMenu* popupMenu_;
  QPushButton* button1_;
  QColor captionColour_{255, 0, 0};
  PictureRenderer renderer_;
  QTimer idle_;  // the refined pass starts once pending events are handled
  bool segmentShown_ = false;
  int lastX_ = 0;
  int lastY_ = 0;
  bool dragStart_ = false;
  bool dragEnd_ = false;
  QImage storedFrame_;         // the frame of a prepared animation being shown
  AnimationPlayer animation_;  // stops before the window's state goes
  RefineWorker worker_;  // last: its thread ends before anything it reports to goes
};

}  // namespace brillora
