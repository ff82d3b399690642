#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "model/design.h"
#include "trace/frame.h"
#include "trace/screen_polygon.h"
#include "view/animation_player.h"
#include "view/animation_variant.h"
#include "view/paint_style.h"
#include "view/picture_traces.h"
#include "view/refine_worker.h"

class QMenu;
class QPushButton;

namespace brillora {

class IlluminationModel;
class StoneParameters;

// What the picture window reads from the design window's menus and editing.
struct PictureSettings {
  int maxLevel = -1;  // the "N of Reflections" Tag less one; below 0 nothing is traced
  bool surfaceReflections = true;
  bool reflected = false;
  bool dispersion = false;  // "Dispersion": traced at three lines, one per colour channel
  bool edges = true;
  bool antiAliasing = true;
  int selectedStep = -1;  // step of the construction order whose facets are highlighted
};

// The design window as the picture window sees it.
class PictureSource {
 public:
  virtual ~PictureSource() = default;
  virtual PictureSettings CurrentSettings() const = 0;
  // A double click on a facet of that step of the construction order.
  virtual void SelectFacetStep(int step) = 0;
};

// The picture window: the application's main window, showing the stone and
// the measuring segment of the stone parameters. It draws the fast picture at
// once on every change and has a worker draw the anti-aliased one, which
// replaces it only if nothing changed meanwhile.
class PictureWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kInitialWidth = 450;
  static constexpr int kInitialHeight = 467;

  PictureWindow(StoneParameters& parameters, const IlluminationModel& light, QWidget* parent = nullptr);
  ~PictureWindow() override;

  // The design window is made after this one.
  void SetSource(PictureSource* source) { source_ = source; }
  // Windows made translucent while this one is maximized.
  void SetTranslucentCompanions(std::vector<QWidget*> windows) { companions_ = std::move(windows); }

  void SetStone(std::shared_ptr<const Stone> stone);
  // The view must be traced again before it is drawn next.
  void SetRebuild();
  bool Rebuild() const { return rebuild_; }
  // Draws the picture anew (the refined picture, if any, is dropped).
  void Repaint();
  // The surroundings changed: the traced polygons take their new colours and
  // the picture is drawn anew, without a new trace.
  void Recolour();

  // Whether the crown faces the viewer.
  bool ShowsCrown() const;
  const Frame& View() const { return view_; }
  // Turns the stone over in a hundred traced steps, as the side switch asks.
  void Rotate();
  // The polygons of the last fast pass, in pixels of the window: with
  // "Dispersion", those of its first (red) line.
  const ArrayOfFOS& Screen() const { return traces_.First(); }
  // Every trace of the last fast pass, one or three (PictureTraces::Lines).
  std::span<const ArrayOfFOS> Lines() const { return traces_.Lines(); }
  // What the refined pass would draw of the current view at another size,
  // highlighting no step: the export and the printed image draw this.
  RefineRequest RequestAt(int width, int height) const;
  // A refined picture is due and not yet drawn.
  bool RefinePending() const { return refinePending_; }
  // The refined picture replaced the fast one.
  bool RefinedShown() const { return refinedValid_; }
  // The refined picture shown, while RefinedShown.
  const QImage& RefinedPicture() const { return refined_; }

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
  void UpdateCaption();
  PaintStyle Style(const PictureSettings& settings) const;
  TraceOptions Options(const PictureSettings& settings) const;
  // The material's dispersion when "Dispersion" is on.
  std::optional<double> Dispersion(const PictureSettings& settings) const;
  void Trace(const PictureSettings& settings);
  // Whatever refined picture was shown or is being drawn no longer fits.
  void DropRefined();
  void IdlePaint();
  void AcceptRefined(QImage picture, unsigned request);
  void UpdateTranslucency();
  AnimationHost AnimationCalls();
  void AnimationEnded(AnimationVariant variant, AnimationEnd end);

  // What the last trace was made of, so that the refined pass traces the same.
  struct TracedState {
    std::shared_ptr<const Stone> stone;
    Frame view = IdentityFrame();
    int maxLevel = -1;
    TraceOptions options;
    std::optional<double> dispersion;
  };

  StoneParameters& parameters_;
  const IlluminationModel& light_;
  PictureSource* source_ = nullptr;
  std::vector<QWidget*> companions_;
  std::shared_ptr<const Stone> stone_ = std::make_shared<const Stone>();
  QMenu* popupMenu_;
  QPushButton* button1_;
  QColor captionColour_{255, 0, 0};
  Frame view_ = IdentityFrame();
  PictureTraces traces_;
  TracedState traced_;
  QImage refined_;
  bool refinedValid_ = false;
  bool refinePending_ = false;
  std::optional<RefineRequest> due_;  // the refined picture of what the fast pass drew last
  unsigned awaited_ = 0;              // the worker's request whose picture may be shown; 0 none
  QTimer idle_;                       // the refined pass starts once pending events are handled
  bool segmentShown_ = false;
  bool rebuild_ = true;
  int lastX_ = 0;
  int lastY_ = 0;
  bool dragStart_ = false;
  bool dragEnd_ = false;
  QImage storedFrame_;         // the frame of a prepared animation being shown
  AnimationPlayer animation_;  // stops before the window's state goes
  RefineWorker worker_;  // last: its thread ends before anything it reports to goes
};

}  // namespace brillora
