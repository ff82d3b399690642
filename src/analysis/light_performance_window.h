#pragma once

#include <array>
#include <memory>
#include <vector>

#include <QWidget>

#include "analysis/analysis_worker.h"
#include "model/design.h"

class QChart;
class QChartView;
class QDoubleSpinBox;
class QGridLayout;
class QLabel;
class QSpinBox;

namespace brillora {

class AsetBar;

// "Light Performance": the face-up and table figures of the stone, its fire,
// spread and ASET shares, the head angle and depth they are computed for, and
// the tilt chart. The figures are
// computed on a worker thread of their own after every change, while the
// window shows; a change abandons the computation in progress.
class LightPerformanceWindow : public QWidget {
  Q_OBJECT

 public:
  explicit LightPerformanceWindow(QWidget* parent = nullptr);
  ~LightPerformanceWindow() override;

  // The stone to judge and its symmetry order, which names the tilt axes.
  void SetStone(std::shared_ptr<const Stone> stone, int symOrder);
  void SetRefractiveIndex(double refractiveIndex);
  // The stone's material: its refractive index and its dispersion, which
  // fire and spread are computed with.
  void SetMaterial(double refractiveIndex, double dispersion);

  // The number of the request whose figures the window awaits or shows; 0
  // before the first.
  unsigned AwaitedRequest() const { return awaited_; }

 signals:
  // The face-up figures of the awaited request show.
  void figuresShown(unsigned request);
  // Its tilt chart shows too.
  void tiltShown(unsigned request);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* AddFigure(QGridLayout* grid, int row, int column, const QString& caption, const QString& name);
  // Asks for the figures of the current state when the window shows, else
  // leaves them for the next show.
  void Recompute();
  void ShowResult(const AnalysisResult& result, unsigned request);

  std::shared_ptr<const Stone> stone_;
  int symOrder_ = 8;
  double refractiveIndex_ = 2.42;
  double dispersion_ = 0.0;
  bool stale_ = true;
  unsigned awaited_ = 0;

  QDoubleSpinBox* head_ = nullptr;
  QSpinBox* depth_ = nullptr;
  QLabel* iso_ = nullptr;
  QLabel* cos_ = nullptr;
  QLabel* sc2_ = nullptr;
  QLabel* tableIso_ = nullptr;
  QLabel* tableCos_ = nullptr;
  QLabel* tableSc2_ = nullptr;
  QLabel* leakage_ = nullptr;
  QLabel* headShadow_ = nullptr;
  QLabel* unresolved_ = nullptr;
  QLabel* fire_ = nullptr;
  QLabel* spread_ = nullptr;
  std::array<QLabel*, 4> aset_{};
  AsetBar* asetBar_ = nullptr;
  QLabel* errorBound_ = nullptr;
  QLabel* state_ = nullptr;
  QChartView* chartView_ = nullptr;
  QChart* chart_ = nullptr;
  std::unique_ptr<AnalysisWorker> worker_;  // last: it stops before the rest goes
};

}  // namespace brillora
