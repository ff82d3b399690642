#pragma once

#include <memory>
#include <optional>
#include <vector>

#include <QWidget>

#include "model/design.h"
#include "optimize/optimize_worker.h"

class QChart;
class QChartView;
class QCheckBox;
class QDoubleSpinBox;
class QGridLayout;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace brillora {

// "Optimize": the steps whose slope and position may vary, the merit's
// weights and views, the range, the limits on the proportions, Start and
// Cancel with a progress bar, the start and the result side by side, the
// cutting tolerances as a bar chart, and Apply. The search runs on a worker
// thread of its own; an edit of the design while it runs cancels it, and a
// result is applied only when the user asks.
class OptimizeWindow : public QWidget {
  Q_OBJECT

 public:
  explicit OptimizeWindow(QWidget* parent = nullptr);
  ~OptimizeWindow() override;

  // The design being edited, after every rebuild of its stone.
  void SetDesign(const Design& design);
  void SetRefractiveIndex(double refractiveIndex);
  // The material's dispersion, which the fire figure needs.
  void SetDispersion(double dispersion);

  // The settings the controls give, for the design shown.
  OptimizeSettings Settings() const;
  bool Running() const { return running_; }
  // The number of the search the window awaits or shows; 0 before the first.
  unsigned AwaitedRequest() const { return awaited_; }
  // The last result shown, while it applies to the design.
  const std::optional<OptimizeResult>& Result() const { return result_; }

 signals:
  // Apply: the result is to become the design, as one edit.
  void applyRequested(const brillora::Design& design);
  void resultShown(unsigned request);

 private:
  struct StepBoxes {
    DesignVariable slope;
    QCheckBox* slopeBox = nullptr;
    QCheckBox* positionBox = nullptr;
  };

  QWidget* MakeSteps();
  QWidget* MakeMerit();
  QWidget* MakeLimits();
  QWidget* MakeRun();
  QWidget* MakeResults();
  QDoubleSpinBox* AddSpin(QGridLayout* grid, int row, int column, const QString& caption, const QString& name,
                          double least, double most, double step, int decimals, double value);
  void ShowSteps();
  void Begin(OptimizeSettings settings);
  void StartClick();
  void ApplyClick();
  void ShowUpdate(const OptimizeUpdate& update, unsigned request);
  void ShowResult(const OptimizeResult& result);
  void ShowTable(const OptimizeResult& result);
  void ShowTolerances(const OptimizeResult& result);
  void Abandon(const QString& why);
  void ShowButtons();

  Design design_;
  bool haveDesign_ = false;
  double refractiveIndex_ = 2.42;
  double dispersion_ = 0.0;
  Design searched_;  // the design the search in hand or shown started from
  bool running_ = false;
  unsigned awaited_ = 0;
  std::shared_ptr<std::atomic<bool>> cancel_;
  std::optional<OptimizeResult> result_;

  QWidget* stepsPanel_ = nullptr;
  QGridLayout* stepsGrid_ = nullptr;
  std::vector<StepBoxes> steps_;
  QDoubleSpinBox* iso_ = nullptr;
  QDoubleSpinBox* cos_ = nullptr;
  QDoubleSpinBox* sc2_ = nullptr;
  QDoubleSpinBox* leakage_ = nullptr;
  QDoubleSpinBox* fire_ = nullptr;
  QDoubleSpinBox* tilt_ = nullptr;
  QDoubleSpinBox* tiltStep_ = nullptr;
  QDoubleSpinBox* range_ = nullptr;
  QDoubleSpinBox* head_ = nullptr;
  QSpinBox* depth_ = nullptr;
  QSpinBox* evaluations_ = nullptr;
  QCheckBox* maxDepthBox_ = nullptr;
  QDoubleSpinBox* maxDepth_ = nullptr;
  QCheckBox* minCrownBox_ = nullptr;
  QDoubleSpinBox* minCrown_ = nullptr;
  QCheckBox* maxCrownBox_ = nullptr;
  QDoubleSpinBox* maxCrown_ = nullptr;
  QCheckBox* minTableBox_ = nullptr;
  QDoubleSpinBox* minTable_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* tolerances_ = nullptr;
  QPushButton* apply_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* state_ = nullptr;
  QTableWidget* table_ = nullptr;
  QChartView* chartView_ = nullptr;
  QChart* chart_ = nullptr;
  std::unique_ptr<OptimizeWorker> worker_;  // last: it stops before the rest goes
};

}  // namespace brillora
