#include "optimize/optimize_window.h"

#include <algorithm>
#include <thread>

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>

#include "model/design_state.h"
#include "model/edit_history.h"

namespace brillora {

namespace {

DesignState StateOf(const Design& design) {
  DesignState state;
  state.SymOrder = design.SymOrder;
  state.GearNotches = design.GearNotches;
  state.CrownSteps = design.CrownSteps;
  state.PavilionSteps = design.PavilionSteps;
  return state;
}

bool SameDesign(const Design& a, const Design& b) { return !DesignsDiffer(StateOf(a), StateOf(b)); }

// The steps as the window lists them: sides, tiers and which are Auto.
bool SameSteps(const Design& a, const Design& b) {
  for (DesignSide side : {DesignSide::Crown, DesignSide::Pavilion}) {
    if (TierCount(a, side) != TierCount(b, side)) return false;
    for (int k = 1; k <= TierCount(a, side); ++k) {
      if (FollowsPredecessor(a, side, k) != FollowsPredecessor(b, side, k)) return false;
    }
  }
  return true;
}

QString BoxName(const char* quantity, DesignSide side, int element) {
  return QString("%1_%2_%3")
      .arg(quantity, QString::fromStdString(SideName(side)), QString::fromStdString(StepLabel(side, element)));
}

QString ValueText(const DesignVariable& v, double value) {
  if (v.quantity == VariedQuantity::Slope) return QString::number(value, 'f', 2) + "°";
  return QString::number(value, 'f', 3);
}

QString PercentText(double share) { return QString::number(100 * share, 'f', 3) + " %"; }

int Threads() { return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u)); }

}  // namespace

OptimizeWindow::OptimizeWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("Optimize");
  setWindowTitle("Optimize");
  resize(760, 820);

  auto* settings = new QHBoxLayout;
  settings->addWidget(MakeSteps(), 1);
  auto* right = new QVBoxLayout;
  right->addWidget(MakeMerit());
  right->addWidget(MakeLimits());
  settings->addLayout(right);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(settings);
  layout->addWidget(MakeRun());
  layout->addWidget(MakeResults(), 1);

  // The worker hands updates over on its own thread; they are shown on this
  // one, and dropped with the window if it goes first.
  worker_ = std::make_unique<OptimizeWorker>([this](const OptimizeUpdate& update, unsigned request) {
    QMetaObject::invokeMethod(this, [this, update, request] { ShowUpdate(update, request); }, Qt::QueuedConnection);
  });
  ShowButtons();
}

OptimizeWindow::~OptimizeWindow() = default;

QWidget* OptimizeWindow::MakeSteps() {
  auto* group = new QGroupBox("Steps to vary", this);
  auto* scroll = new QScrollArea(group);
  scroll->setWidgetResizable(true);
  stepsPanel_ = new QWidget(scroll);
  stepsPanel_->setObjectName("StepList");
  stepsGrid_ = new QGridLayout(stepsPanel_);
  stepsGrid_->setAlignment(Qt::AlignTop);
  scroll->setWidget(stepsPanel_);
  auto* box = new QVBoxLayout(group);
  box->addWidget(scroll);
  return group;
}

QDoubleSpinBox* OptimizeWindow::AddSpin(QGridLayout* grid, int row, int column, const QString& caption,
                                        const QString& name, double least, double most, double step, int decimals,
                                        double value) {
  grid->addWidget(new QLabel(caption, this), row, column);
  auto* spin = new QDoubleSpinBox(this);
  spin->setObjectName(name);
  spin->setRange(least, most);
  spin->setSingleStep(step);
  spin->setDecimals(decimals);
  spin->setValue(value);
  grid->addWidget(spin, row, column + 1);
  return spin;
}

QWidget* OptimizeWindow::MakeMerit() {
  auto* group = new QGroupBox("Merit", this);
  auto* grid = new QGridLayout(group);
  const MeritSettings defaults;
  iso_ = AddSpin(grid, 0, 0, "ISO weight:", "IsoWeight", -10, 10, 0.05, 3, defaults.weights.iso);
  cos_ = AddSpin(grid, 1, 0, "COS weight:", "CosWeight", -10, 10, 0.05, 3, defaults.weights.cos);
  sc2_ = AddSpin(grid, 2, 0, "SC2 weight:", "Sc2Weight", -10, 10, 0.05, 3, defaults.weights.sc2);
  leakage_ = AddSpin(grid, 3, 0, "Leakage weight:", "LeakageWeight", -10, 10, 0.05, 3, defaults.weights.leakage);
  fire_ = AddSpin(grid, 4, 0, "Fire weight:", "FireWeight", -10, 10, 0.05, 3, defaults.weights.fire);
  tilt_ = AddSpin(grid, 0, 2, "Tilt ±:", "TiltSpin", 0, 80, 1, 1, defaults.tilt);
  tilt_->setSuffix("°");
  tiltStep_ = AddSpin(grid, 1, 2, "Tilt step:", "TiltStepSpin", 0.1, 30, 1, 1, defaults.tiltStep);
  tiltStep_->setSuffix("°");
  head_ = AddSpin(grid, 2, 2, "Head angle:", "HeadSpin", 0, 45, 0.5, 1, defaults.analysis.HeadDegrees);
  head_->setSuffix("°");
  grid->addWidget(new QLabel("Depth:", this), 3, 2);
  depth_ = new QSpinBox(this);
  depth_->setObjectName("DepthSpin");
  depth_->setRange(AnalysisSettings::kShallowest, AnalysisSettings::kDeepest);
  depth_->setValue(defaults.analysis.Depth);
  grid->addWidget(depth_, 3, 3);
  range_ = AddSpin(grid, 4, 0, "Range ±:", "RangeSpin", 0.01, 45, 0.5, 2, OptimizeSettings{}.rangeDegrees);
  range_->setSuffix("°");
  range_->setToolTip("Slopes vary this far either side of the start, positions 0.03 per degree");
  grid->addWidget(new QLabel("Evaluations:", this), 4, 2);
  evaluations_ = new QSpinBox(this);
  evaluations_->setObjectName("EvaluationsSpin");
  evaluations_->setRange(0, 100000);
  evaluations_->setSpecialValueText("Automatic");
  evaluations_->setValue(0);
  grid->addWidget(evaluations_, 4, 3);
  return group;
}

QWidget* OptimizeWindow::MakeLimits() {
  auto* group = new QGroupBox("Limits (% of the girdle's width)", this);
  auto* grid = new QGridLayout(group);
  const auto add = [&](int row, const QString& caption, const QString& name, double value, QCheckBox*& box) {
    box = new QCheckBox(caption, this);
    box->setObjectName(name + "Box");
    grid->addWidget(box, row, 0);
    auto* spin = new QDoubleSpinBox(this);
    spin->setObjectName(name + "Spin");
    spin->setRange(0, 200);
    spin->setDecimals(2);
    spin->setSuffix(" %");
    spin->setValue(value);
    grid->addWidget(spin, row, 1);
    return spin;
  };
  maxDepth_ = add(0, "Most total depth", "MaxTotalDepth", 60, maxDepthBox_);
  minCrown_ = add(1, "Least crown height", "MinCrownHeight", 10, minCrownBox_);
  maxCrown_ = add(2, "Most crown height", "MaxCrownHeight", 18, maxCrownBox_);
  minTable_ = add(3, "Least table", "MinTable", 50, minTableBox_);
  return group;
}

QWidget* OptimizeWindow::MakeRun() {
  auto* panel = new QWidget(this);
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(0, 0, 0, 0);
  start_ = new QPushButton("Start", panel);
  start_->setObjectName("StartButton");
  tolerances_ = new QPushButton("Tolerances", panel);
  tolerances_->setObjectName("ToleranceButton");
  tolerances_->setToolTip("The cutting tolerances of the design as it is, for the values checked");
  progress_ = new QProgressBar(panel);
  progress_->setObjectName("ProgressBar");
  progress_->setRange(0, 1);
  progress_->setValue(0);
  apply_ = new QPushButton("Apply", panel);
  apply_->setObjectName("ApplyButton");
  row->addWidget(start_);
  row->addWidget(tolerances_);
  row->addWidget(progress_, 1);
  row->addWidget(apply_);
  connect(start_, &QPushButton::clicked, this, &OptimizeWindow::StartClick);
  connect(tolerances_, &QPushButton::clicked, this, [this] {
    OptimizeSettings settings = Settings();
    settings.maxEvaluations = 1;
    Begin(settings);
  });
  connect(apply_, &QPushButton::clicked, this, &OptimizeWindow::ApplyClick);
  return panel;
}

QWidget* OptimizeWindow::MakeResults() {
  auto* panel = new QWidget(this);
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(0, 0, 0, 0);
  state_ = new QLabel(panel);
  state_->setObjectName("StateLabel");
  state_->setWordWrap(true);
  column->addWidget(state_);
  auto* row = new QHBoxLayout;
  table_ = new QTableWidget(0, 2, panel);
  table_->setObjectName("ResultTable");
  table_->setHorizontalHeaderLabels({"Start", "Result"});
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  row->addWidget(table_, 2);
  chartView_ = new QChartView(panel);
  chartView_->setObjectName("ToleranceChart");
  chartView_->setRenderHint(QPainter::Antialiasing);
  chart_ = chartView_->chart();
  chart_->setTitle("Cutting tolerance");
  chartView_->setMinimumHeight(280);
  row->addWidget(chartView_, 3);
  column->addLayout(row, 1);
  return panel;
}

void OptimizeWindow::SetDesign(const Design& design) {
  const bool changed = !haveDesign_ || !SameDesign(design, design_);
  const bool stepsChanged = !haveDesign_ || !SameSteps(design, design_);
  design_ = design;
  haveDesign_ = true;
  if (!changed) return;
  if (stepsChanged) ShowSteps();
  if (running_) Abandon("Cancelled: the design changed.");
  ShowButtons();
}

void OptimizeWindow::SetDispersion(double dispersion) {
  if (dispersion == dispersion_) return;
  dispersion_ = dispersion;
  if (running_) Abandon("Cancelled: the dispersion changed.");
  ShowButtons();
}

void OptimizeWindow::SetRefractiveIndex(double refractiveIndex) {
  if (refractiveIndex == refractiveIndex_) return;
  refractiveIndex_ = refractiveIndex;
  if (running_) Abandon("Cancelled: the refractive index changed.");
  ShowButtons();
}

void OptimizeWindow::ShowSteps() {
  // A step keeps its checks while the design keeps it.
  std::vector<QString> checked;
  for (const StepBoxes& s : steps_) {
    for (QCheckBox* box : {s.slopeBox, s.positionBox}) {
      if (box->isChecked()) checked.push_back(box->objectName());
    }
  }
  const bool first = steps_.empty();
  for (QLabel* label : stepsPanel_->findChildren<QLabel*>()) delete label;
  for (const StepBoxes& s : steps_) {
    delete s.slopeBox;
    delete s.positionBox;
  }
  steps_.clear();
  const std::vector<DesignVariable> defaults = DefaultVariables(design_);
  int row = 0;
  for (DesignSide side : {DesignSide::Crown, DesignSide::Pavilion}) {
    for (int k = 1; k <= TierCount(design_, side); ++k) {
      const bool follows = FollowsPredecessor(design_, side, k);
      const QString name = QString::fromStdString(SideName(side) + " " + StepLabel(side, k));
      auto* label = new QLabel(name.left(1).toUpper() + name.mid(1) + (follows ? " (Auto)" : ""), stepsPanel_);
      stepsGrid_->addWidget(label, row, 0);
      StepBoxes s{{side, k, VariedQuantity::Slope}, new QCheckBox("Slope", stepsPanel_),
                  new QCheckBox("Position", stepsPanel_)};
      s.slopeBox->setObjectName(BoxName("Slope", side, k));
      s.positionBox->setObjectName(BoxName("Position", side, k));
      for (QCheckBox* box : {s.slopeBox, s.positionBox}) {
        box->setEnabled(!follows);
        const bool wanted = first ? (box == s.slopeBox &&
                                     std::find(defaults.begin(), defaults.end(), s.slope) != defaults.end())
                                  : std::find(checked.begin(), checked.end(), box->objectName()) != checked.end();
        box->setChecked(wanted && !follows);
      }
      stepsGrid_->addWidget(s.slopeBox, row, 1);
      stepsGrid_->addWidget(s.positionBox, row, 2);
      steps_.push_back(s);
      ++row;
    }
  }
}

OptimizeSettings OptimizeWindow::Settings() const {
  OptimizeSettings s;
  for (const StepBoxes& step : steps_) {
    if (step.slopeBox->isChecked()) s.variables.push_back(step.slope);
    if (step.positionBox->isChecked()) s.variables.push_back({step.slope.side, step.slope.element, VariedQuantity::Position});
  }
  s.merit.weights = {iso_->value(), cos_->value(), sc2_->value(), leakage_->value(), fire_->value()};
  s.merit.tilt = tilt_->value();
  s.merit.tiltStep = tiltStep_->value();
  s.merit.analysis = {head_->value(), depth_->value(), refractiveIndex_, dispersion_};
  s.rangeDegrees = range_->value();
  s.maxEvaluations = evaluations_->value();
  s.threads = Threads();
  if (maxDepthBox_->isChecked()) s.limits.maxTotalDepth = maxDepth_->value();
  if (minCrownBox_->isChecked()) s.limits.minCrownHeight = minCrown_->value();
  if (maxCrownBox_->isChecked()) s.limits.maxCrownHeight = maxCrown_->value();
  if (minTableBox_->isChecked()) s.limits.minTable = minTable_->value();
  return s;
}

void OptimizeWindow::Begin(OptimizeSettings settings) {
  if (!haveDesign_ || running_) return;
  if (settings.variables.empty()) {
    state_->setText("Check the slope or the position of a step to vary.");
    return;
  }
  OptimizeRequest request{design_, std::move(settings)};
  cancel_ = request.cancel;
  searched_ = design_;
  result_.reset();
  running_ = true;
  awaited_ = worker_->Request(std::move(request));
  progress_->setRange(0, 1);
  progress_->setValue(0);
  state_->setText("Searching...");
  ShowButtons();
}

void OptimizeWindow::StartClick() {
  if (!running_) {
    Begin(Settings());
    return;
  }
  // The search ends at its next candidate and offers the best design so far.
  cancel_->store(true);
  state_->setText("Cancelling...");
}

void OptimizeWindow::Abandon(const QString& why) {
  worker_->Abandon();
  running_ = false;
  result_.reset();
  state_->setText(why);
  ShowButtons();
}

void OptimizeWindow::ApplyClick() {
  if (!result_ || !apply_->isEnabled()) return;
  const Design design = result_->result.design;
  state_->setText("Applied: Undo brings back the design the search started from.");
  emit applyRequested(design);
  ShowButtons();
}

void OptimizeWindow::ShowButtons() {
  start_->setText(running_ ? "Cancel" : "Start");
  start_->setEnabled(haveDesign_);
  tolerances_->setEnabled(haveDesign_ && !running_);
  apply_->setEnabled(!running_ && result_ && result_->improved && SameDesign(searched_, design_));
}

void OptimizeWindow::ShowUpdate(const OptimizeUpdate& update, unsigned request) {
  if (request != awaited_ || !running_) return;
  progress_->setRange(0, std::max(update.progress.budget, 1));
  progress_->setValue(std::min(update.progress.evaluations, progress_->maximum()));
  if (!update.result) {
    state_->setText(QString("%1 of %2 candidates judged (%3), best merit %4")
                        .arg(update.progress.evaluations)
                        .arg(update.progress.budget)
                        .arg(update.progress.global ? "global phase" : "refining")
                        .arg(PercentText(update.progress.bestMerit)));
    return;
  }
  running_ = false;
  result_ = *update.result;
  ShowResult(*result_);
  ShowButtons();
  emit resultShown(request);
}

void OptimizeWindow::ShowResult(const OptimizeResult& r) {
  ShowTable(r);
  ShowTolerances(r);
  const double gain = r.result.judgement.merit - r.start.judgement.merit;
  const QString done = QString("%1 candidates judged in %2 s. ").arg(r.evaluations).arg(r.seconds, 0, 'f', 2);
  switch (r.outcome) {
    case OptimizeOutcome::InfeasibleStart:
      state_->setText("The design does not count, so nothing was searched: " +
                      QString::fromStdString(r.start.judgement.infeasible.value_or("no stone")) + ".");
      break;
    case OptimizeOutcome::Cancelled:
      state_->setText("Cancelled. " + done +
                      (r.improved ? QString("The best design found so far (merit +%1) is offered: Apply puts it "
                                            "into the design.")
                                        .arg(PercentText(gain))
                                  : QString("No better design was found.")));
      break;
    case OptimizeOutcome::Finished:
      if (r.budget <= 1) {
        state_->setText("The cutting tolerances of the design as it is.");
      } else {
        state_->setText(done + (r.improved ? QString("Merit +%1: Apply puts the result into the design.")
                                                 .arg(PercentText(gain))
                                           : QString("No better design within the ranges and limits.")));
      }
      break;
  }
}

void OptimizeWindow::ShowTable(const OptimizeResult& r) {
  table_->clearContents();
  std::vector<std::pair<QString, std::pair<QString, QString>>> rows;
  for (std::size_t i = 0; i < r.variables.size(); ++i) {
    rows.push_back({QString::fromStdString(VariableName(r.variables[i])),
                    {ValueText(r.variables[i], r.start.values[i]), ValueText(r.variables[i], r.result.values[i])}});
  }
  const Judgement& a = r.start.judgement;
  const Judgement& b = r.result.judgement;
  const auto figure = [&](const char* name, double start, double result) {
    rows.push_back({name, {PercentText(start), PercentText(result)}});
  };
  figure("Merit", a.merit, b.merit);
  figure("ISO", a.figures.iso, b.figures.iso);
  figure("COS", a.figures.cos, b.figures.cos);
  figure("SC2", a.figures.sc2, b.figures.sc2);
  figure("Leakage", a.figures.leakage, b.figures.leakage);
  figure("Fire", a.figures.fire, b.figures.fire);
  figure("Total depth", a.proportions.totalDepth / 100, b.proportions.totalDepth / 100);
  figure("Crown height", a.proportions.crownHeight / 100, b.proportions.crownHeight / 100);
  figure("Table", a.proportions.table / 100, b.proportions.table / 100);
  table_->setRowCount(static_cast<int>(rows.size()));
  QStringList names;
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    names << rows[i].first;
    table_->setItem(i, 0, new QTableWidgetItem(rows[i].second.first));
    table_->setItem(i, 1, new QTableWidgetItem(rows[i].second.second));
  }
  table_->setVerticalHeaderLabels(names);
}

void OptimizeWindow::ShowTolerances(const OptimizeResult& r) {
  chart_->removeAllSeries();  // deletes them
  for (QAbstractAxis* axis : chart_->axes()) {
    chart_->removeAxis(axis);
    delete axis;
  }
  if (r.tolerance.empty()) return;
  auto* minus = new QBarSet("One step less", chart_);
  minus->setObjectName("MinusSet");
  auto* plus = new QBarSet("One step more", chart_);
  plus->setObjectName("PlusSet");
  QStringList names;
  double most = 0;
  for (const VariableTolerance& t : r.tolerance) {
    *minus << 100 * t.minus;
    *plus << 100 * t.plus;
    most = std::max({most, std::abs(100 * t.minus), std::abs(100 * t.plus)});
    names << QString::fromStdString(VariableName(t.variable));
  }
  auto* series = new QBarSeries(chart_);
  series->append(minus);
  series->append(plus);
  chart_->addSeries(series);
  auto* x = new QBarCategoryAxis(chart_);
  x->append(names);
  x->setLabelsAngle(-60);
  chart_->addAxis(x, Qt::AlignBottom);
  series->attachAxis(x);
  auto* y = new QValueAxis(chart_);
  y->setTitleText("Change of merit (%)");
  y->setRange(-most * 1.1 - 1e-6, most * 1.1 + 1e-6);
  chart_->addAxis(y, Qt::AlignLeft);
  series->attachAxis(y);
}

}  // namespace brillora
