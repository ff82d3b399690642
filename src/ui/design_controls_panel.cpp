#include "ui/design_controls_panel.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMenu>
#include <QSignalBlocker>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "model/design_limits.h"
#include "model/step_editor.h"
#include "ui/side_icons.h"
#include "widgets/control_mirror.h"
#include "widgets/focus_watch.h"
#include "widgets/named.h"
#include "widgets/nt_track_bar.h"

namespace brillora {

namespace {

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text) {
  return Named(new QLabel(text, parent), name);
}

// Ranges and positions come from the editor's controls when they are shown.
TNTrackBar* MakeBar(QWidget* parent, const QString& name) {
  auto* bar = Named(new TNTrackBar(parent), name);
  bar->setFixedSize(160, 24);
  return bar;
}

QDoubleSpinBox* MakeSpin(QWidget* parent, const QString& name) {
  auto* spin = Named(new QDoubleSpinBox(parent), name);
  spin->setSingleStep(0.01);
  spin->setDecimals(2);
  return spin;
}

QFrame* TabPage(QWidget* parent) {
  auto* frame = new QFrame(parent);
  frame->setFrameShape(QFrame::StyledPanel);
  return frame;
}

// A key that changes the typed text of a number field (rather than stepping
// it, moving in it or leaving it).
bool TypesText(const QKeyEvent& key) {
  if (key.key() == Qt::Key_Backspace || key.key() == Qt::Key_Delete) return true;
  if (key.matches(QKeySequence::Paste) || key.matches(QKeySequence::Cut)) return true;
  return !key.text().isEmpty() && key.text().front().isPrint();
}

bool StepsTheNumber(const QKeyEvent& key) {
  switch (key.key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      return true;
    default:
      return false;
  }
}

}  // namespace

DesignControlsPanel::DesignControlsPanel(QWidget* parent)
    : QWidget(parent), stepMenu_(BuildStepMenu(this)), focusWatch_(new FocusWatch(this)) {
  setObjectName("Client");
  installEventFilter(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);
  fixedLine_ = MakeLabel(this, "FixedStoneLabel", "");
  fixedLine_->setWordWrap(true);
  fixedLine_->hide();
  layout->addWidget(fixedLine_);
  layout->addWidget(MakeSymmetryPanel());
  layout->addLayout(MakeSideTabs());
  sidePage_ = MakeSidePage();
  layout->addWidget(sidePage_);
  layout->addStretch();
  WatchFocus();
  ShowControls(EditorControls::AsDesigned());
  ConnectControls();
  ConnectHistory();
}

void DesignControlsPanel::Attach(StepEditor& editor) {
  editor_ = &editor;
  ShowEditing(true);
  Show();
}

void DesignControlsPanel::ShowFixedStone(const QString& line) {
  Detach();
  fixedLine_->setText(line);
  ShowEditing(false);
  emit shown();
}

void DesignControlsPanel::ShowEditing(bool editing) {
  showsFixedStone_ = !editing;
  for (QWidget* control : std::initializer_list<QWidget*>{panel3_, sideTabs_, sidePage_}) control->setVisible(editing);
  fixedLine_->setVisible(!editing);
}

// A label whose text changes: wide enough for the widest text it shows, in
// the font it shows it in, so that the window keeps its size as the values change.
QLabel* DesignControlsPanel::MakeValueLabel(QWidget* parent, const QString& name, const QString& widest) {
  QLabel* label = MakeLabel(parent, name, "");
  valueLabels_.emplace_back(label, widest);
  FitValueLabels();
  return label;
}

void DesignControlsPanel::FitValueLabels() {
  for (const auto& [label, widest] : valueLabels_) {
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(widest));
  }
}

void DesignControlsPanel::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange) FitValueLabels();
}

void DesignControlsPanel::Detach() {
  editor_ = nullptr;
  typing_ = nullptr;
}

QWidget* DesignControlsPanel::MakeSymmetryPanel() {
  auto* panel = Named(new QFrame(this), "Panel3");
  panel3_ = panel;
  panel->setFrameShape(QFrame::StyledPanel);
  panel->installEventFilter(this);
  auto* label1 = MakeLabel(panel, "Label1", "Symmetry Order");
  QFont bold = label1->font();
  bold.setBold(true);
  bold.setPixelSize(13);
  label1->setFont(bold);
  symBox_ = Named(new QComboBox(panel), "SymBox");
  gearLabel_ = MakeValueLabel(panel, "Label5", "00-notch Gear");
  auto* layout = new QGridLayout(panel);
  layout->setContentsMargins(4, 2, 4, 2);
  layout->addWidget(label1, 0, 0);
  layout->addWidget(symBox_, 0, 1);
  layout->addWidget(gearLabel_, 1, 0, 1, 2);
  return panel;
}

// The side tabs with the side switch over their right end.
QLayout* DesignControlsPanel::MakeSideTabs() {
  sideTabs_ = Named(new QTabBar(this), "TabControl1");
  sideTabs_->addTab(CrownIcon(), "");
  sideTabs_->addTab(PavilionIcon(), "");
  sideTabs_->setIconSize(QSize(32, 20));
  sideTabs_->setStyleSheet("QTabBar::tab { width: 70px; }");
  crownButton_ = Named(new QToolButton(this), "CrownButton");
  crownButton_->setText(QString(QChar(0x21C5)));
  crownButton_->setStyleSheet("color: rgb(255, 0, 0); font-weight: bold;");
  auto* row = new QHBoxLayout;
  row->addWidget(sideTabs_);
  row->addStretch();
  row->addWidget(crownButton_);
  return row;
}

// What the side tabs hold: the Max Slope, the step tabs with their page, the data tabs with theirs.
QWidget* DesignControlsPanel::MakeSidePage() {
  QFrame* page = TabPage(this);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(1);
  layout->addLayout(MakeMaxSlope(page));
  layout->addWidget(MakeStepTabs(page));
  layout->addWidget(MakeStepPage(page));
  layout->addWidget(MakeDataTabs(page));
  layout->addWidget(MakeDataPage(page));
  return page;
}

QLayout* DesignControlsPanel::MakeMaxSlope(QWidget* parent) {
  maxSlopeSpin_ = MakeSpin(parent, "RxSpinEdit2");
  maxSlopeBar_ = MakeBar(parent, "TrackAngle2");
  auto* row = new QHBoxLayout;
  row->addWidget(MakeLabel(parent, "MaxAngleLabel", "Max Slope  ="));
  row->addWidget(maxSlopeSpin_);
  auto* layout = new QVBoxLayout;
  layout->addLayout(row);
  layout->addWidget(maxSlopeBar_);
  return layout;
}

QWidget* DesignControlsPanel::MakeStepTabs(QWidget* parent) {
  stepTabs_ = Named(new QTabBar(parent), "TabControl2");
  stepTabs_->setToolTip("Steps");
  stepTabs_->setExpanding(false);
  stepTabs_->setUsesScrollButtons(true);
  stepTabs_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(stepTabs_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { stepMenu_.menu->popup(stepTabs_->mapToGlobal(at)); });
  return stepTabs_;
}

QWidget* DesignControlsPanel::MakeStepPage(QWidget* parent) {
  QFrame* page = TabPage(parent);
  splitBox_ = Named(new QComboBox(page), "SplitBox");
  shiftBox_ = Named(new QComboBox(page), "ShiftBox");
  shiftLabel_ = MakeLabel(page, "Label4", "Shift");
  facetAngleLabel_ = MakeLabel(page, "FacetAngleLabel", "Facet Slope  =");
  slopeSpin_ = MakeSpin(page, "RxSpinEdit1");
  slopeBar_ = MakeBar(page, "TrackAngle1");
  autoBox_ = Named(new QCheckBox("Auto", page), "CheckBox");
  autoBox_->setToolTip("Automatic Facet Meeting");
  positLabel_ = MakeValueLabel(page, "Label6", "Girdle thickness = 0.000");
  positLabel_->setToolTip("Position of next Step of Facets");
  positBar_ = MakeBar(page, "PositBar");
  auto* layout = new QGridLayout(page);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setVerticalSpacing(1);
  layout->addWidget(MakeLabel(page, "Label2", "Split"), 0, 0);
  layout->addWidget(splitBox_, 0, 1);
  layout->addWidget(shiftLabel_, 1, 0);
  layout->addWidget(shiftBox_, 1, 1);
  layout->addWidget(facetAngleLabel_, 2, 0);
  layout->addWidget(slopeSpin_, 2, 1);
  layout->addWidget(slopeBar_, 3, 0, 1, 2);
  layout->addWidget(autoBox_, 4, 0, 1, 2);
  layout->addWidget(positLabel_, 5, 0, 1, 2);
  layout->addWidget(positBar_, 6, 0, 1, 2);
  // Hidden controls keep their place, so the others do not jump about.
  for (QWidget* w : std::initializer_list<QWidget*>{shiftBox_, shiftLabel_, facetAngleLabel_, slopeSpin_, slopeBar_,
                                                    autoBox_}) {
    QSizePolicy policy = w->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    w->setSizePolicy(policy);
  }
  return page;
}

QWidget* DesignControlsPanel::MakeDataTabs(QWidget* parent) {
  dataTabs_ = Named(new QTabBar(parent), "TabControl3");
  dataTabs_->setExpanding(false);
  dataTabs_->setUsesScrollButtons(true);
  return dataTabs_;
}

QWidget* DesignControlsPanel::MakeDataPage(QWidget* parent) {
  QFrame* page = TabPage(parent);
  facetAngle2Label_ = MakeLabel(page, "FacetAngle2Label", "");
  distLabel_ = MakeLabel(page, "DistLabel", "");
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addWidget(facetAngle2Label_);
  layout->addWidget(distLabel_);
  return page;
}

// Focus moving into a control is news for the rules (a typed slope ends Auto);
// focus that only comes back with the window or after a popup is not.
void DesignControlsPanel::WatchFocus() {
  focusControls_ = {{symBox_, Control::SymBox},         {splitBox_, Control::SplitBox},
                    {shiftBox_, Control::ShiftBox},     {slopeBar_, Control::TrackAngle1},
                    {slopeSpin_, Control::RxSpinEdit1}, {maxSlopeBar_, Control::TrackAngle2},
                    {maxSlopeSpin_, Control::RxSpinEdit2}, {positBar_, Control::PositBar},
                    {autoBox_, Control::CheckBox},      {sideTabs_, Control::TabControl1},
                    {stepTabs_, Control::TabControl2},  {dataTabs_, Control::TabControl3},
                    {crownButton_, Control::CrownButton}};
  for (const auto& [widget, control] : focusControls_) focusWatch_->Watch(widget);
  connect(focusWatch_, &FocusWatch::entered, this, [this](QWidget* widget, Qt::FocusReason reason) {
    if (FocusWatch::CameBack(reason)) return;
    const auto entered = std::find_if(focusControls_.begin(), focusControls_.end(),
                                      [widget](const auto& watched) { return watched.first == widget; });
    if (entered != focusControls_.end()) {
      Forward([&](StepEditor& editor) { editor.FocusControl(entered->second); });
    }
  });
}

void DesignControlsPanel::ConnectControls() {
  connect(symBox_, &QComboBox::activated, this,
          [this](int i) { Forward([&](StepEditor& editor) { editor.ChooseSymmetry(i); }); });
  connect(splitBox_, &QComboBox::activated, this,
          [this](int i) { Forward([&](StepEditor& editor) { editor.ChooseSplit(i); }); });
  connect(shiftBox_, &QComboBox::activated, this,
          [this](int i) { Forward([&](StepEditor& editor) { editor.ChooseShift(i); }); });
  connect(slopeSpin_, &QDoubleSpinBox::valueChanged, this, [this](double v) { TypeInto(slopeSpin_, v); });
  connect(slopeBar_, &QSlider::valueChanged, this,
          [this](int v) { Forward([&](StepEditor& editor) { editor.DragSlopeBar(v); }); });
  connect(maxSlopeSpin_, &QDoubleSpinBox::valueChanged, this, [this](double v) { TypeInto(maxSlopeSpin_, v); });
  connect(maxSlopeBar_, &QSlider::valueChanged, this,
          [this](int v) { Forward([&](StepEditor& editor) { editor.DragMaxSlopeBar(v); }); });
  connect(positBar_, &QSlider::valueChanged, this,
          [this](int v) { Forward([&](StepEditor& editor) { editor.DragPositionBar(v); }); });
  connect(autoBox_, &QCheckBox::clicked, this,
          [this](bool on) { Forward([&](StepEditor& editor) { editor.SetAuto(on); }); });
  connect(sideTabs_, &QTabBar::currentChanged, this,
          [this](int i) { Forward([&](StepEditor& editor) { editor.ChooseSideTab(i); }); });
  connect(stepTabs_, &QTabBar::currentChanged, this, [this](int i) {
    bool chosen = true;
    Forward([&](StepEditor& editor) { chosen = editor.ChooseStepTab(i) || editor.CanAddStep(); });
    if (!chosen) TellSideIsFull();
  });
  connect(dataTabs_, &QTabBar::currentChanged, this,
          [this](int i) { Forward([&](StepEditor& editor) { editor.ChooseDataTab(i); }); });
  connect(crownButton_, &QToolButton::clicked, this, [this] {
    // A fixed stone has no sides to edit: the switch only turns the stone over.
    if (showsFixedStone_) {
      emit flipRequested();
      return;
    }
    Forward([](StepEditor& editor) { editor.ClickCrownButton(); });
  });
  connect(stepMenu_.NewStep, &QAction::triggered, this,
          [this] { ForwardAddingStep([](StepEditor& editor) { return editor.ClickNewStep(); }); });
  connect(stepMenu_.Clearnext, &QAction::triggered, this,
          [this] { ForwardAddingStep([](StepEditor& editor) { return editor.ClickClearNext(); }); });
}

void DesignControlsPanel::ForwardAddingStep(bool (*add)(StepEditor& editor)) {
  bool added = true;
  Forward([&](StepEditor& editor) { added = add(editor); });
  if (!added) TellSideIsFull();
}

void DesignControlsPanel::TellSideIsFull() { QMessageBox::information(this, "Brillora", kStepLimitMessage); }

// The drags that make one step each, and the typed numbers that do.
void DesignControlsPanel::ConnectHistory() {
  for (TNTrackBar* bar : {slopeBar_, maxSlopeBar_, positBar_}) {
    connect(bar, &QSlider::sliderPressed, this, [this] { Forward([](StepEditor& editor) { editor.BeginDrag(); }); });
    connect(bar, &QSlider::sliderReleased, this, [this] { Forward([](StepEditor& editor) { editor.EndDrag(); }); });
  }
  for (QDoubleSpinBox* spin : {slopeSpin_, maxSlopeSpin_}) {
    spin->installEventFilter(this);
    connect(spin, &QAbstractSpinBox::editingFinished, this, [this] {
      EndTyping();
      Show();
    });
  }
}

void DesignControlsPanel::TypeInto(QDoubleSpinBox* spin, double value) {
  const auto type = [&](StepEditor& editor) {
    if (spin == slopeSpin_) {
      editor.TypeSlope(value);
    } else {
      editor.TypeMaxSlope(value);
    }
  };
  if (editor_ == nullptr) return;
  if (typing_ != spin) {
    Forward(type);
    return;
  }
  type(*editor_);
  Show();
}

void DesignControlsPanel::BeginTyping(QDoubleSpinBox* spin) {
  if (editor_ == nullptr || typing_ == spin) return;
  EndTyping();
  editor_->BeginDrag();
  typing_ = spin;
}

void DesignControlsPanel::EndTyping() {
  if (typing_ == nullptr) return;
  typing_ = nullptr;
  editor_->EndDrag();
}

bool DesignControlsPanel::eventFilter(QObject* watched, QEvent* event) {
  if (WatchDrag(watched, event)) return true;
  if (event->type() == QEvent::MouseButtonPress && (watched == panel3_ || watched == this)) {
    Forward([](StepEditor& editor) { editor.ClickBackground(); });
  }
  return QWidget::eventFilter(watched, event);
}

bool DesignControlsPanel::WatchDrag(QObject* watched, QEvent* event) {
  auto* spin = watched == slopeSpin_ ? slopeSpin_ : watched == maxSlopeSpin_ ? maxSlopeSpin_ : nullptr;
  if (spin == nullptr) return false;
  switch (event->type()) {
    case QEvent::MouseButtonPress: Forward([](StepEditor& editor) { editor.BeginDrag(); }); return false;
    case QEvent::MouseButtonRelease: Forward([](StepEditor& editor) { editor.EndDrag(); }); return false;
    case QEvent::KeyPress: {
      const auto* key = static_cast<QKeyEvent*>(event);
      // A step of the arrows is an entry of its own; typing begins one that
      // lasts until the number is entered.
      if (StepsTheNumber(*key)) {
        EndTyping();
      } else if (TypesText(*key)) {
        BeginTyping(spin);
      }
      return false;
    }
    case QEvent::ShortcutOverride: {
      // The number field would take the keys for its own text; they undo the design.
      const auto* key = static_cast<QKeyEvent*>(event);
      return historyKeys_.contains(QKeySequence(key->keyCombination()));
    }
    default: return false;
  }
}

void DesignControlsPanel::Show() {
  if (editor_ != nullptr) ShowControls(editor_->Controls());
  emit shown();
}

void DesignControlsPanel::ShowControls(const EditorControls& c) {
  // Hiding the control that has the focus moves it on; that is not the user's move.
  const QSignalBlocker quiet(focusWatch_);
  ShowList(symBox_, c.SymBox.items, c.SymBox.index);
  ShowText(gearLabel_, c.Label5);
  ShowList(splitBox_, c.SplitBox.items, c.SplitBox.index);
  ShowList(shiftBox_, c.ShiftBox.items, c.ShiftBox.index);
  ShowPosition(slopeBar_, c.TrackAngle1.min, c.TrackAngle1.max, c.TrackAngle1.position);
  ShowValue(slopeSpin_, c.RxSpinEdit1.min, c.RxSpinEdit1.max, c.RxSpinEdit1.value);
  ShowChecked(autoBox_, c.CheckBox);
  ShowPosition(positBar_, c.PositBar.min, c.PositBar.max, c.PositBar.position);
  ShowText(positLabel_, c.Label6);
  ShowPosition(maxSlopeBar_, c.TrackAngle2.min, c.TrackAngle2.max, c.TrackAngle2.position);
  ShowValue(maxSlopeSpin_, c.RxSpinEdit2.min, c.RxSpinEdit2.max, c.RxSpinEdit2.value);
  ShowCurrentTab(sideTabs_, c.TabControl1.index);
  const QColor sideColour(c.TabControl1Font.r, c.TabControl1Font.g, c.TabControl1Font.b);
  for (int i = 0; i < sideTabs_->count(); ++i) sideTabs_->setTabTextColor(i, sideColour);
  ShowTabs(stepTabs_, c.TabControl2.items, c.TabControl2.index);
  ShowTabs(dataTabs_, c.TabControl3.items, c.TabControl3.index);
  ShowText(facetAngle2Label_, c.FacetAngle2Label);
  ShowText(distLabel_, c.DistLabel);
  shiftBox_->setVisible(c.ShiftBoxVisible);
  shiftLabel_->setVisible(c.Label4Visible);
  slopeBar_->setVisible(c.TrackAngle1Visible);
  slopeSpin_->setVisible(c.RxSpinEdit1Visible);
  facetAngleLabel_->setVisible(c.FacetAngleLabelVisible);
  autoBox_->setVisible(c.CheckBoxVisible);
}

}  // namespace brillora
