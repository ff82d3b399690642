#include "params/parameters_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "widgets/control_mirror.h"
#include "widgets/focus_watch.h"
#include "widgets/named.h"
#include "widgets/nt_track_bar.h"

namespace brillora {

namespace {

// The widest texts the changing labels show in use: the results have five
// characters before the point at most sizes, the segment ratio one.
constexpr const char* kWidestResult = "00000.00";
constexpr const char* kWidestSegmentRatio = "(0.000)";

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text) {
  return Named(new QLabel(text, parent), name);
}

// A label whose text changes: wide enough from the start for what it will show,
// so that the window keeps its size as the values change.
QLabel* MakeValueLabel(QWidget* parent, const QString& name, const QString& text, const QString& widest) {
  QLabel* label = MakeLabel(parent, name, text);
  label->setMinimumWidth(label->fontMetrics().horizontalAdvance(widest));
  return label;
}

void SetBase(QWidget* widget, QColor colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Base, colour);
  widget->setPalette(palette);
}

}  // namespace

ParametersWindow::ParametersWindow(StoneParameters& parameters, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint),
      parameters_(parameters),
      focusWatch_(new FocusWatch(this)) {
  setObjectName("Weight");
  setWindowTitle("  Parameters");

  popup_ = new QMenu(this);
  popup_->setObjectName("PopupMenu1");
  QAction* byName = popup_->addAction("Alfabatical arange");
  byName->setObjectName("A");
  QAction* byValue = popup_->addAction("Value arange");
  byValue->setObjectName("V");
  connect(byName, &QAction::triggered, this, [this] { parameters_.ArrangeAlphabetically(); });
  connect(byValue, &QAction::triggered, this, [this] { parameters_.ArrangeByValue(); });

  pages_ = new QTabWidget(this);
  pages_->setObjectName("PageControl1");
  pages_->addTab(MakeWeightPage(), "Weight/Size");
  pages_->addTab(MakeOpticPage(), "Optic");
  connect(pages_, &QTabWidget::currentChanged, this, &ParametersWindow::pictureRepaint);
  connect(focusWatch_, &FocusWatch::entered, this, &ParametersWindow::UserEntered);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(pages_);
  // The window takes the size its texts need in the fonts they are shown in,
  // and the user cannot change it.
  layout->setSizeConstraint(QLayout::SetFixedSize);

  ShowState();
  parameters_.SetListener(this);
}

ParametersWindow::~ParametersWindow() { parameters_.SetListener(nullptr); }

bool ParametersWindow::FirstPageActive() const { return pages_->currentIndex() == 0; }

QComboBox* ParametersWindow::MakeBox(QWidget* page, const QString& name, StoneParameters::Box box, QColor background) {
  auto* combo = new QComboBox(page);
  combo->setObjectName(name);
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  SetBase(combo->lineEdit(), background);
  for (QWidget* target : {static_cast<QWidget*>(combo), static_cast<QWidget*>(combo->lineEdit())}) {
    target->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(target, &QWidget::customContextMenuRequested, this,
            [this, target](const QPoint& at) { popup_->popup(target->mapToGlobal(at)); });
  }
  connect(combo, &QComboBox::activated, this, [this, box](int index) { parameters_.SelectEntry(box, index); });
  connect(combo->lineEdit(), &QLineEdit::textEdited, this,
          [this, box](const QString& text) { parameters_.TypeText(box, text.toStdString()); });
  return combo;
}

QWidget* ParametersWindow::MakeWeightPage() {
  auto* page = new QWidget;
  page->setObjectName("WeightSize");
  sgBox_ = MakeBox(page, "SGBox", StoneParameters::Box::SG, QColor(192, 220, 192));
  size_ = new QLineEdit(page);
  size_->setObjectName("Size");
  SetBase(size_, QColor(192, 220, 192));
  connect(size_, &QLineEdit::textEdited, this,
          [this](const QString& text) { parameters_.SetSizeText(text.toStdString()); });
  segmentLabel_ = MakeValueLabel(page, "Label5", "[mm]", kWidestSegmentRatio);

  auto* grid = new QGridLayout(page);
  grid->addWidget(MakeLabel(page, "Label2", "Specific Gravity"), 0, 0, 1, 3);
  grid->addWidget(sgBox_, 1, 0, 1, 3);
  grid->addWidget(MakeLabel(page, "Label3", "Segment"), 2, 0);
  grid->addWidget(segmentLabel_, 2, 1);
  grid->addWidget(size_, 3, 0, 1, 2);
  grid->addWidget(MakeLabel(page, "Label4", "[mm]"), 3, 2);
  grid->addWidget(MakeResultPanel(page), 4, 0, 1, 3);
  return page;
}

QWidget* ParametersWindow::MakeResultPanel(QWidget* page) {
  auto* panel = new QFrame(page);
  panel->setObjectName("Panel1");
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setCursor(Qt::CrossCursor);
  wl_ = MakeValueLabel(panel, "WL", "", kWidestResult);
  ch_ = MakeValueLabel(panel, "CH", "", kWidestResult);
  ph_ = MakeValueLabel(panel, "PH", "", kWidestResult);
  th_ = MakeValueLabel(panel, "TH", "", kWidestResult);
  auto* results = new QGridLayout(panel);
  results->addWidget(MakeLabel(panel, "WeightLabel", "Weight ="), 0, 0);
  results->addWidget(wl_, 0, 1);
  results->addWidget(MakeLabel(panel, "CrownH", "Crown Height ="), 1, 0);
  results->addWidget(ch_, 1, 1);
  results->addWidget(MakeLabel(panel, "PavilionH", "Pavilion Height ="), 2, 0);
  results->addWidget(ph_, 2, 1);
  results->addWidget(MakeLabel(panel, "TotalH", "Total Height ="), 3, 0);
  results->addWidget(th_, 3, 1);
  return panel;
}

QWidget* ParametersWindow::MakeOpticPage() {
  auto* page = new QWidget;
  page->setObjectName("Optic");
  riBox_ = MakeBox(page, "RIBox", StoneParameters::Box::RI, QColor(240, 250, 255));
  // The list's edit field hands its focus to the list, so watching the list hears both.
  focusWatch_->Watch(riBox_);
  riLabel_ = MakeLabel(page, "RILabel", "");
  riLabel_->hide();
  riBar_ = new TNTrackBar(page);
  riBar_->setObjectName("RIBar");
  riBar_->SetThumbLength(14);
  focusWatch_->Watch(riBar_);
  connect(riBar_, &QSlider::valueChanged, this, [this](int position) { parameters_.MoveRIBar(position); });
  custom_ = new QCheckBox("Custom", page);
  custom_->setObjectName("CustomCheckBox");
  connect(custom_, &QCheckBox::clicked, this, [this](bool checked) { parameters_.SetCustom(checked); });
  // A typed dispersion is taken when the user leaves the field or presses
  // Enter, not at every key: each change traces the picture again.
  dispersion_ = new QDoubleSpinBox(page);
  dispersion_->setObjectName("DispersionEdit");
  dispersion_->setDecimals(3);
  dispersion_->setSingleStep(0.001);
  dispersion_->setRange(0, StoneParameters::kDispersionMax);
  dispersion_->setKeyboardTracking(false);
  dispersion_->setToolTip("n(430.8 nm) - n(686.7 nm)");
  connect(dispersion_, &QDoubleSpinBox::valueChanged, this, [this](double value) { parameters_.SetDispersion(value); });
  auto* dispersionRow = new QHBoxLayout;
  dispersionRow->addWidget(MakeLabel(page, "DispersionLabel", "Dispersion"));
  dispersionRow->addWidget(dispersion_);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(MakeLabel(page, "Label1", "Refractive Index"));
  layout->addWidget(riBox_);
  layout->addWidget(riLabel_);
  layout->addWidget(riBar_);
  layout->addWidget(custom_);
  layout->addLayout(dispersionRow);
  layout->addStretch();
  return page;
}

void ParametersWindow::UserEntered(QWidget* control, Qt::FocusReason reason) {
  // Entering a control switches the index between list and bar; focus that only
  // comes back to the control (the window activated, the page shown, a popup
  // closed) must leave the index alone.
  if (!FocusWatch::MovedByUser(reason)) return;
  if (control == riBar_) {
    parameters_.RIBarEnter();
  } else if (control == riBox_) {
    parameters_.RIBoxEnter();
  }
}

void ParametersWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  parameters_.SizeChange();
  emit pictureRepaint();
}

void ParametersWindow::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  emit pictureRepaint();
}

void ParametersWindow::ShowState() {
  const QSignalBlocker quiet(focusWatch_);
  const MaterialList& sg = parameters_.List(StoneParameters::Box::SG);
  const MaterialList& ri = parameters_.List(StoneParameters::Box::RI);
  ShowList(sgBox_, sg.Entries(), sg.ItemIndex(), sg.Text());
  ShowList(riBox_, ri.Entries(), ri.ItemIndex(), ri.Text());
  ShowText(size_, parameters_.SizeText());
  ShowPosition(riBar_, StoneParameters::kRIBarMin, StoneParameters::kRIBarMax, parameters_.RIBar());
  ShowChecked(custom_, parameters_.Custom());
  ShowValue(dispersion_, 0, StoneParameters::kDispersionMax, parameters_.Dispersion());
  ShowText(riLabel_, parameters_.RILabel());
  riLabel_->setVisible(parameters_.RILabelVisible());
  switch (parameters_.RIBoxColour()) {
    case StoneParameters::ListColour::Initial:
      break;
    case StoneParameters::ListColour::Window:
      SetBase(riBox_->lineEdit(), palette().color(QPalette::Base));
      break;
    case StoneParameters::ListColour::WindowText:
      SetBase(riBox_->lineEdit(), palette().color(QPalette::WindowText));
      break;
  }
}

void ParametersWindow::ControlsChanged() { ShowState(); }

void ParametersWindow::WeightComputed() {
  const WeightReport& report = parameters_.Report();
  ShowText(wl_, report.WL);
  ShowText(ch_, report.CH);
  ShowText(ph_, report.PH);
  ShowText(th_, report.TH);
  ShowText(segmentLabel_, parameters_.SegmentLabel());
  emit pictureRepaint();
}

void ParametersWindow::RefractiveIndexApplied() {
  ShowText(riLabel_, parameters_.RILabel());
  emit pictureStale();
}

}  // namespace brillora
