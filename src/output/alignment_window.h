#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "model/latest_request_worker.h"

#include "output/print_layout.h"
#include "output/print_target.h"
#include "output/sheet_painter.h"
#include "widgets/file_dialog.h"

class QCheckBox;
class QDoubleSpinBox;
class QFrame;
class QLabel;
class QPushButton;
class QSpinBox;

namespace brillora {

class LayoutSpin;

// The print alignment window: the printer's page as a white rectangle with
// the content previewed in a frame that the mouse and the fields place and
// size; OK prints the copies (PrintCopies). The rules live in print_layout; the
// window shows their results.
class AlignmentWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kPanelWidth = 196;
  static constexpr int kBorder = 8;

  using SubjectSource = std::function<SheetSubject()>;
  using SoundCue = std::function<void(const QString& name)>;
  // The printer setup dialog of the target; true when the user confirmed it.
  using Properties = std::function<bool(QWidget* parent)>;

  AlignmentWindow(PrintTarget& target, Properties properties, SubjectSource subject, SoundCue sound,
                  QWidget* parent = nullptr);
  ~AlignmentWindow() override;

  // Opens the window for the "Data" or "Image" item.
  void Act(ContentKind kind);
  void OKClick();
  // Paints the preview anew (the picture window asks while this window shows).
  void PaintBox1Paint();

  ContentKind Kind() const { return kind_; }
  // The subject as the page shows it: with the tolerance column when
  // "Tolerances" is checked, its values once computed (at once when `wait`).
  SheetSubject Subject(bool wait);
  const PageRect& Rect() const { return rect_; }
  const PageGeometry& Page() const { return page_; }
  FileDialog& PdfDialog() { return *pdfDialog_; }

 signals:
  // The window hid, after printing or not: the picture window draws anew.
  void closed();
  // The preview shows the tolerance column's values.
  void tolerancesShown();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  QWidget* MakePanel();
  LayoutSpin* AddField(const char* name, LayoutField tag, double least, double initial);
  // Measures the printer; false when there is nothing to print to.
  bool PBAlign();
  void Order(const QObject* sender);
  void ApplyField(LayoutSpin* field);
  Margins FieldMargins() const;
  void PropertiesClick();
  void Zoom(bool across);
  void PageMouse(QWidget* on, QEvent* event);

  // What the tolerance column is computed from, and the column.
  struct ToleranceKey {
    Design design;
    double refractiveIndex = 0;
  };
  using ToleranceWorker = LatestRequestWorker<ToleranceKey, std::pair<ToleranceKey, SlopeTolerances>>;
  static bool SameKey(const ToleranceKey& a, const ToleranceKey& b);
  void ShowTolerances(const std::pair<ToleranceKey, SlopeTolerances>& computed, unsigned request);

  PrintTarget& target_;
  Properties properties_;
  SubjectSource subject_;
  SoundCue sound_;
  SheetPainter painter_;  // the print system's own tracer and polygons
  FileDialog* pdfDialog_;

  QFrame* panel5_;
  QWidget* paintBox1_;
  QImage preview_;
  QWidget* panel4_;
  QLabel* printerLine_;
  QPushButton* propertiesButton_;
  QSpinBox* copies_;
  LayoutSpin* top_;
  LayoutSpin* left_;
  LayoutSpin* right_;
  LayoutSpin* bottom_;
  LayoutSpin* width_;
  LayoutSpin* height_;
  QLabel* topCm_;
  QLabel* leftCm_;
  QLabel* rightCm_;
  QLabel* bottomCm_;
  QLabel* widthCm_;
  QLabel* heightCm_;
  QCheckBox* centerX_;
  QCheckBox* centerY_;
  QCheckBox* tolerance_;

  ContentKind kind_ = ContentKind::DataSheet;
  PageRect rect_;
  PageGeometry page_;
  LayoutView shown_;  // what the fields showed after the last Order
  LayoutField active_ = LayoutField::None;
  bool dragging_ = false;
  QPoint pressPoint_;
  PageRect rectAtPress_;
  int zoneAtPress_ = 4;
  bool laidOut_ = false;
  bool resizing_ = false;
  std::optional<std::pair<ToleranceKey, SlopeTolerances>> tolerances_;  // the last computed
  std::optional<ToleranceKey> asked_;
  unsigned awaitedTolerances_ = 0;
  std::unique_ptr<ToleranceWorker> toleranceWorker_;  // last: it stops before the rest goes
};

}  // namespace brillora
