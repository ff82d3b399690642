#include "analysis/light_performance_window.h"

#include <algorithm>
#include <cmath>

#include <QChart>
#include <QChartView>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include "analysis/aset_bar.h"
#include "analysis/tilt_chart.h"
#include "widgets/named.h"

namespace brillora {

namespace {

QString PercentText(double share) { return QString::number(100 * share, 'f', 2) + " %"; }
QString DegreesText(double degrees) { return QString::number(degrees, 'f', 3) + "°"; }
// An error bound in percent, rounded up to two decimals: it still bounds.
QString BoundText(double share) { return QString::number(std::max(0.0, std::ceil(share * 10000 - 1e-9)) / 100, 'f', 2) + " %"; }

}  // namespace

LightPerformanceWindow::LightPerformanceWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("LightPerformance");
  setWindowTitle("Light Performance");
  resize(620, 700);

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel("Head angle:", this), 0, 0);
  head_ = new QDoubleSpinBox(this);
  head_->setObjectName("HeadSpin");
  head_->setRange(0, 45);
  head_->setSingleStep(0.5);
  head_->setDecimals(1);
  head_->setSuffix("°");
  head_->setValue(AnalysisSettings{}.HeadDegrees);
  grid->addWidget(head_, 0, 1);
  grid->addWidget(new QLabel("Depth:", this), 0, 2);
  depth_ = new QSpinBox(this);
  depth_->setObjectName("DepthSpin");
  depth_->setRange(AnalysisSettings::kShallowest, AnalysisSettings::kDeepest);
  depth_->setToolTip("How often the light meets the stone's surface from inside");
  depth_->setValue(AnalysisSettings{}.Depth);
  grid->addWidget(depth_, 0, 3);

  iso_ = AddFigure(grid, 1, 0, "ISO", "IsoValue");
  cos_ = AddFigure(grid, 2, 0, "COS", "CosValue");
  sc2_ = AddFigure(grid, 3, 0, "SC2", "Sc2Value");
  tableIso_ = AddFigure(grid, 1, 2, "Table ISO", "TableIsoValue");
  tableCos_ = AddFigure(grid, 2, 2, "Table COS", "TableCosValue");
  tableSc2_ = AddFigure(grid, 3, 2, "Table SC2", "TableSc2Value");
  leakage_ = AddFigure(grid, 4, 0, "Leakage", "LeakageValue");
  headShadow_ = AddFigure(grid, 4, 2, "Head shadow", "HeadShadowValue");
  unresolved_ = AddFigure(grid, 5, 0, "Unresolved", "UnresolvedValue");
  state_ = new QLabel(this);
  state_->setObjectName("StateLabel");
  grid->addWidget(state_, 5, 2, 1, 2);
  fire_ = AddFigure(grid, 6, 0, "Fire", "FireValue");
  spread_ = AddFigure(grid, 6, 2, "Spread", "SpreadValue");
  fire_->setToolTip("The light returned whose colours part by more than a pupil's angle (0.92°)");
  spread_->setToolTip("The mean angle between the red (656.3 nm) and blue (486.1 nm) light returned");
  grid->addWidget(new QLabel("ASET:", this), 7, 0);
  asetBar_ = new AsetBar(this);
  grid->addWidget(asetBar_, 7, 1, 1, 3);
  aset_ = {AddFigure(grid, 8, 0, "ASET red", "AsetRedValue"), AddFigure(grid, 8, 2, "ASET green", "AsetGreenValue"),
           AddFigure(grid, 9, 0, "ASET blue", "AsetBlueValue"), AddFigure(grid, 9, 2, "ASET black", "AsetBlackValue")};
  errorBound_ = AddFigure(grid, 10, 0, "Error bound", "ErrorBoundValue");
  errorBound_->setToolTip("The most by which any share above may differ from all the light followed to the depth");

  chartView_ = new QChartView(this);
  chartView_->setObjectName("TiltChart");
  chartView_->setRenderHint(QPainter::Antialiasing);
  chart_ = chartView_->chart();
  chart_->setTitle("Tilt curves");
  chartView_->setMinimumHeight(320);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(chartView_, 1);

  connect(head_, &QDoubleSpinBox::valueChanged, this, [this] { Recompute(); });
  connect(depth_, &QSpinBox::valueChanged, this, [this] { Recompute(); });

  // The worker hands results over on its own thread; they are shown on this
  // one, and dropped with the window if it goes first.
  worker_ = std::make_unique<AnalysisWorker>([this](const AnalysisResult& result, unsigned request) {
    QMetaObject::invokeMethod(this, [this, result, request] { ShowResult(result, request); }, Qt::QueuedConnection);
  });
}

LightPerformanceWindow::~LightPerformanceWindow() = default;

QLabel* LightPerformanceWindow::AddFigure(QGridLayout* grid, int row, int column, const QString& caption,
                                          const QString& name) {
  grid->addWidget(new QLabel(caption + ":", this), row, column);
  auto* value = Named(new QLabel("-", this), name);
  value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  grid->addWidget(value, row, column + 1);
  return value;
}

void LightPerformanceWindow::SetStone(std::shared_ptr<const Stone> stone, int symOrder) {
  stone_ = std::move(stone);
  symOrder_ = symOrder;
  stale_ = true;
  Recompute();
}

void LightPerformanceWindow::SetRefractiveIndex(double refractiveIndex) { SetMaterial(refractiveIndex, dispersion_); }

void LightPerformanceWindow::SetMaterial(double refractiveIndex, double dispersion) {
  if (refractiveIndex == refractiveIndex_ && dispersion == dispersion_) return;
  refractiveIndex_ = refractiveIndex;
  dispersion_ = dispersion;
  stale_ = true;
  Recompute();
}

void LightPerformanceWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (stale_) Recompute();
}

void LightPerformanceWindow::Recompute() {
  stale_ = true;
  if (!isVisible() || !stone_) return;
  stale_ = false;
  AnalysisRequest request;
  request.stone = stone_;
  request.settings = {head_->value(), depth_->value(), refractiveIndex_, dispersion_};
  request.tilt.Azimuths = DefaultAzimuths(symOrder_);
  awaited_ = worker_->Request(std::move(request));
  state_->setText("Computing...");
}

void LightPerformanceWindow::ShowResult(const AnalysisResult& result, unsigned request) {
  if (request != awaited_) return;
  const LightFigures& f = result.faceUp;
  iso_->setText(PercentText(f.Iso));
  cos_->setText(PercentText(f.Cos));
  sc2_->setText(PercentText(f.Sc2));
  tableIso_->setText(PercentText(f.TableIso));
  tableCos_->setText(PercentText(f.TableCos));
  tableSc2_->setText(PercentText(f.TableSc2));
  leakage_->setText(PercentText(f.Leakage));
  headShadow_->setText(PercentText(f.HeadShadow));
  unresolved_->setText(PercentText(f.Unresolved));
  fire_->setText(PercentText(f.Fire));
  spread_->setText(DegreesText(f.Spread));
  const std::array<double, 4> aset = {f.AsetRed, f.AsetGreen, f.HeadShadow, f.Leakage};
  for (std::size_t k = 0; k < aset.size(); ++k) aset_[k]->setText(PercentText(aset[k]));
  asetBar_->SetShares(aset[0], aset[1], aset[2], aset[3]);
  errorBound_->setText(BoundText(f.ErrorBound));
  if (!result.tilt) {
    state_->setText(f.CutShort ? "Cut short; tilt curves computing..." : "Tilt curves computing...");
    emit figuresShown(request);
    return;
  }
  ShowTiltCurves(*chart_, *result.tilt);
  bool cutShort = f.CutShort;
  double tiltBound = 0;
  for (const TiltCurve& c : *result.tilt) {
    cutShort = cutShort || c.CutShort;
    tiltBound = std::max(tiltBound, c.ErrorBound);
  }
  const QString within = "within " + BoundText(tiltBound);
  if (tiltBound > 0) {
    state_->setText(cutShort ? "Cut short; tilt curves " + within : "Tilt curves " + within);
  } else {
    state_->setText(cutShort ? "Cut short" : "");
  }
  emit tiltShown(request);
}

}  // namespace brillora
