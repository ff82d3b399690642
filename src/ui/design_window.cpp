#include "ui/design_window.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDoubleSpinBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QSignalBlocker>
#include <QTabBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "io/design_file.h"
#include "io/gemcad_file.h"
#include "params/parameters_window.h"
#include "ui/design_exports.h"
#include "params/stone_parameters.h"
#include "ui/about_window.h"
#include "ui/control_mirror.h"
#include "ui/focus_watch.h"
#include "ui/nt_track_bar.h"
#include "ui/side_icons.h"
#include "ui/sound_player.h"
#include "view/picture_window.h"

namespace brillora {

namespace {

constexpr int kClientWidth = 193;
constexpr int kClientHeight = 423;
constexpr int kMaxDroppedName = 256;
const QStringList kSaveFilters = {"Shape (*.brl)", "Text File (*.txt)"};
const QStringList kOpenFilters = {"All(*.brl;*.txt) (*.brl *.txt)", "Shape (*.brl)", "Text File (*.txt)",
                                   "GemCad (*.asc)"};

template <typename W>
W* Named(W* widget, const QString& name) {
  widget->setObjectName(name);
  return widget;
}

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

}  // namespace

DesignWindow::DesignWindow(DesignWindowPeers peers, QDir programFolder, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      picture_(peers.picture),
      parametersWindow_(peers.parameters),
      parameters_(peers.stoneParameters),
      programFolder_(std::move(programFolder)),
      player_(std::make_unique<SoundPlayer>(QDir(programFolder_.filePath("Sound")))),
      openDialog_(std::make_unique<QFileDialog>(this)),
      saveDialog_(std::make_unique<QFileDialog>(this)),
      focusWatch_(new FocusWatch(this)) {
  setObjectName("Form1");
  setWindowTitle("  Brillora.");
  QFont font("Sans Serif");
  font.setPixelSize(11);
  setFont(font);

  menuBar()->setObjectName("MainMenu1");
  // The narrow window must still show every menu title.
  menuBar()->setStyleSheet("QMenuBar { font-size: 11px; } QMenuBar::item { padding: 2px 4px; }");
  menu_ = BuildDesignMenu(menuBar());
  stepMenu_ = BuildStepMenu(this);
  setCentralWidget(MakeControls());
  ShowControls(EditorControls::AsDesigned());
  // Wider only when the platform's menu font would hide a menu title.
  setFixedSize(std::max(kClientWidth, menuBar()->sizeHint().width()),
               kClientHeight + menuBar()->sizeHint().height());
  ConnectMenu();
  ConnectControls();
  ConnectHistory();
  ConnectExports();

  saveDialog_->setObjectName("SaveDialog1");
  saveDialog_->setAcceptMode(QFileDialog::AcceptSave);
  saveDialog_->setDefaultSuffix("brl");
  saveDialog_->setNameFilters(kSaveFilters);
  saveDialog_->selectFile("Shape");
  saveDialog_->setOption(QFileDialog::ReadOnly, false);
  openDialog_->setObjectName("OpenDialog1");
  openDialog_->setAcceptMode(QFileDialog::AcceptOpen);
  openDialog_->setFileMode(QFileDialog::ExistingFile);
  openDialog_->setDefaultSuffix("brl");
  openDialog_->setNameFilters(kOpenFilters);
}

DesignWindow::~DesignWindow() { setAcceptDrops(false); }

QWidget* DesignWindow::MakeControls() {
  auto* central = new QWidget(this);
  central->setObjectName("Client");
  central->installEventFilter(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);
  layout->addWidget(MakeSymmetryPanel(central));
  layout->addLayout(MakeSideTabs(central));
  layout->addWidget(MakeSidePage(central));
  layout->addStretch();
  WatchFocus();
  return central;
}

QWidget* DesignWindow::MakeSymmetryPanel(QWidget* parent) {
  auto* panel = Named(new QFrame(parent), "Panel3");
  panel3_ = panel;
  panel->setFrameShape(QFrame::StyledPanel);
  panel->installEventFilter(this);
  auto* label1 = MakeLabel(panel, "Label1", "Symmetry Order");
  QFont bold = label1->font();
  bold.setBold(true);
  bold.setPixelSize(13);
  label1->setFont(bold);
  symBox_ = Named(new QComboBox(panel), "SymBox");
  gearLabel_ = MakeLabel(panel, "Label5", "");
  auto* layout = new QGridLayout(panel);
  layout->setContentsMargins(4, 2, 4, 2);
  layout->addWidget(label1, 0, 0);
  layout->addWidget(symBox_, 0, 1);
  layout->addWidget(gearLabel_, 1, 0, 1, 2);
  return panel;
}

// The side tabs with the side switch over their right end.
QLayout* DesignWindow::MakeSideTabs(QWidget* parent) {
  sideTabs_ = Named(new QTabBar(parent), "TabControl1");
  sideTabs_->addTab(CrownIcon(), "");
  sideTabs_->addTab(PavilionIcon(), "");
  sideTabs_->setIconSize(QSize(32, 20));
  sideTabs_->setStyleSheet("QTabBar::tab { width: 70px; }");
  crownButton_ = Named(new QToolButton(parent), "CrownButton");
  crownButton_->setText(QString(QChar(0x21C5)));
  crownButton_->setStyleSheet("color: rgb(255, 0, 0); font-weight: bold;");
  auto* row = new QHBoxLayout;
  row->addWidget(sideTabs_);
  row->addStretch();
  row->addWidget(crownButton_);
  return row;
}

// What the side tabs hold: the Max Slope, the step tabs with their page, the data tabs with theirs.
QWidget* DesignWindow::MakeSidePage(QWidget* parent) {
  QFrame* page = TabPage(parent);
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

QLayout* DesignWindow::MakeMaxSlope(QWidget* parent) {
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

QWidget* DesignWindow::MakeStepTabs(QWidget* parent) {
  stepTabs_ = Named(new QTabBar(parent), "TabControl2");
  stepTabs_->setToolTip("Steps");
  stepTabs_->setExpanding(false);
  stepTabs_->setUsesScrollButtons(true);
  stepTabs_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(stepTabs_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { stepMenu_.menu->popup(stepTabs_->mapToGlobal(at)); });
  return stepTabs_;
}

QWidget* DesignWindow::MakeStepPage(QWidget* parent) {
  QFrame* page = TabPage(parent);
  splitBox_ = Named(new QComboBox(page), "SplitBox");
  shiftBox_ = Named(new QComboBox(page), "ShiftBox");
  shiftLabel_ = MakeLabel(page, "Label4", "Shift");
  facetAngleLabel_ = MakeLabel(page, "FacetAngleLabel", "Facet Slope  =");
  slopeSpin_ = MakeSpin(page, "RxSpinEdit1");
  slopeBar_ = MakeBar(page, "TrackAngle1");
  autoBox_ = Named(new QCheckBox("Auto", page), "CheckBox");
  autoBox_->setToolTip("Automatic Facet Meeting");
  positLabel_ = MakeLabel(page, "Label6", "");
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
  for (QWidget* w : std::initializer_list<QWidget*>{shiftBox_, shiftLabel_, facetAngleLabel_, slopeSpin_, slopeBar_, autoBox_}) {
    QSizePolicy policy = w->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    w->setSizePolicy(policy);
  }
  return page;
}

QWidget* DesignWindow::MakeDataTabs(QWidget* parent) {
  dataTabs_ = Named(new QTabBar(parent), "TabControl3");
  dataTabs_->setExpanding(false);
  dataTabs_->setUsesScrollButtons(true);
  return dataTabs_;
}

QWidget* DesignWindow::MakeDataPage(QWidget* parent) {
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
void DesignWindow::WatchFocus() {
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
    if (entered != focusControls_.end()) Forward([&] { editor_->FocusControl(entered->second); });
  });
}

void DesignWindow::ConnectControls() {
  connect(symBox_, &QComboBox::activated, this, [this](int i) { Forward([&] { editor_->ChooseSymmetry(i); }); });
  connect(splitBox_, &QComboBox::activated, this, [this](int i) { Forward([&] { editor_->ChooseSplit(i); }); });
  connect(shiftBox_, &QComboBox::activated, this, [this](int i) { Forward([&] { editor_->ChooseShift(i); }); });
  connect(slopeSpin_, &QDoubleSpinBox::valueChanged, this, [this](double v) { Forward([&] { editor_->TypeSlope(v); }); });
  connect(slopeBar_, &QSlider::valueChanged, this, [this](int v) { Forward([&] { editor_->DragSlopeBar(v); }); });
  connect(maxSlopeSpin_, &QDoubleSpinBox::valueChanged, this,
          [this](double v) { Forward([&] { editor_->TypeMaxSlope(v); }); });
  connect(maxSlopeBar_, &QSlider::valueChanged, this, [this](int v) { Forward([&] { editor_->DragMaxSlopeBar(v); }); });
  connect(positBar_, &QSlider::valueChanged, this, [this](int v) { Forward([&] { editor_->DragPositionBar(v); }); });
  connect(autoBox_, &QCheckBox::clicked, this, [this](bool on) { Forward([&] { editor_->SetAuto(on); }); });
  connect(sideTabs_, &QTabBar::currentChanged, this, [this](int i) { Forward([&] { editor_->ChooseSideTab(i); }); });
  connect(stepTabs_, &QTabBar::currentChanged, this, [this](int i) { Forward([&] { editor_->ChooseStepTab(i); }); });
  connect(dataTabs_, &QTabBar::currentChanged, this, [this](int i) { Forward([&] { editor_->ChooseDataTab(i); }); });
  connect(crownButton_, &QToolButton::clicked, this, [this] { Forward([&] { editor_->ClickCrownButton(); }); });
  connect(stepMenu_.NewStep, &QAction::triggered, this, [this] { Forward([&] { editor_->ClickNewStep(); }); });
  connect(stepMenu_.Clearnext, &QAction::triggered, this, [this] { Forward([&] { editor_->ClickClearNext(); }); });
}

template <typename Action>
void DesignWindow::Forward(Action action) {
  if (!editor_) return;
  action();
  ShowControls();
}

bool DesignWindow::eventFilter(QObject* watched, QEvent* event) {
  if (WatchDrag(watched, event)) return true;
  if (event->type() == QEvent::MouseButtonPress && (watched == panel3_ || watched == centralWidget())) {
    Forward([&] { editor_->ClickBackground(); });
  }
  return QMainWindow::eventFilter(watched, event);
}

void DesignWindow::ShowControls() {
  if (editor_) ShowControls(editor_->Controls());
}

void DesignWindow::ShowControls(const EditorControls& c) {
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
  if (editor_) {
    menu_.Undo1->setEnabled(editor_->CanUndo());
    menu_.Redo1->setEnabled(editor_->CanRedo());
  }
  ShowCaption();
}

void DesignWindow::ConnectMenu() {
  for (QAction* item : {menu_.ImagetoClipboard1, menu_.SaveImagetoFile1, menu_.ImagetoClipboard2}) {
    connect(item, &QAction::triggered, this, [this] { Sound("Type"); });
  }
  connect(menu_.Save1, &QAction::triggered, this, &DesignWindow::Save1Click);
  connect(menu_.Open1, &QAction::triggered, this, &DesignWindow::Open1Click);
  connect(menu_.reflectionGroup, &QActionGroup::triggered, this, &DesignWindow::ReflectionsClick);
  for (QAction* item : {menu_.SurfaceRefl, menu_.Dispersion}) {
    connect(item, &QAction::triggered, this, [this] {
      picture_.SetRebuild();
      picture_.Repaint();
    });
  }
  for (QAction* item : {menu_.Edges, menu_.AA}) {
    connect(item, &QAction::triggered, this, [this] { picture_.Repaint(); });
  }
  connect(menu_.Racetracking1, &QAction::triggered, this, [this](bool checked) {
    if (lightMap_ != nullptr) lightMap_->setVisible(checked);
  });
  for (QAction* item : menu_.animations) {
    connect(item, &QAction::triggered, this, [this, item](bool checked) { AnimationClick(item, checked); });
    // The check mark is the run flag: whoever clears it stops the animation.
    connect(item, &QAction::toggled, this, [this, item](bool checked) {
      if (!checked) picture_.StopAnimation(Tag(item));
    });
  }
  connect(menu_.Weight1, &QAction::triggered, this, [this] {
    parametersWindow_.show();
    parametersWindow_.raise();
  });
  connect(menu_.Help1, &QAction::triggered, this, &DesignWindow::Help1Click);
  connect(menu_.About1, &QAction::triggered, this, [this] {
    if (about_ != nullptr) about_->exec();
  });
}

void DesignWindow::AttachLaterWindows(AboutWindow* about, QWidget* lightMap) {
  about_ = about;
  lightMap_ = lightMap;
}

void DesignWindow::Start(const QStringList& arguments) {
  setAcceptDrops(true);
  if (!arguments.isEmpty()) OpenDesign(arguments.first());
  if (!editor_) {
    editor_ = std::make_unique<StepEditor>(static_cast<EditorObserver&>(*this));
    StoneRebuilt();  // the editor's first rebuild ran before it could be asked for its stone
    ShowControls();
  }
  picture_.show();
  openDialog_->setDirectory(programFolder_.filePath("GEM_DAT"));
}

int DesignWindow::ReflectionCount() const { return Tag(menu_.Reflections->menuAction()); }

QString DesignWindow::ManualFile() const { return programFolder_.filePath("Manual.pdf"); }

void DesignWindow::Sound(const QString& name) { player_->Sound(name); }

void DesignWindow::StopAnimations() {
  for (QAction* item : menu_.animations) item->setChecked(false);
}

bool DesignWindow::OpenDesign(const QString& file) {
  if (IsGemCadName(file.toStdString())) return OpenGemCadDesign(file);
  DesignReadResult read = OpenDesignFile(file.toStdString());
  if (read.error == kInvalidFileType) {
    QMessageBox::information(this, "Brillora", QString::fromUtf8(kInvalidFileType.data(), kInvalidFileType.size()));
    return false;
  }
  Sound("Create");
  parametersWindow_.hide();
  if (!read.ok()) {
    QMessageBox::information(this, "Brillora", QString::fromStdString(read.error));
    return false;
  }
  if (!InstallDesign(read.design)) {
    QMessageBox::information(this, "Brillora", QString::fromUtf8(kInvalidFileFormat.data(), kInvalidFileFormat.size()));
    return false;
  }
  caption_ = QFileInfo(file).fileName();
  ShowCaption();
  parameters_.ApplyLoadedIndex(read.refractiveIndex, read.dispersion);
  return true;
}

bool DesignWindow::SaveDesign(const QString& file) {
  const DesignSaveResult saved =
      SaveDesignFile(file.toStdString(), State().AsDesign(), parameters_.RefractiveIndex(), parameters_.Dispersion());
  if (!saved.written && !saved.error.empty()) {
    QMessageBox::information(this, "Brillora", QString::fromStdString(saved.error));
  }
  if (saved.written && editor_) {
    editor_->MarkSaved();
    ShowCaption();
  }
  return saved.written;
}

bool DesignWindow::InstallDesign(const Design& design) {
  if (!editor_) {
    editor_ = std::make_unique<StepEditor>(design, static_cast<EditorObserver&>(*this));
    StoneRebuilt();  // the editor's first rebuild ran before it could be asked for its stone
  } else if (!editor_->InstallDesign(design)) {
    return false;
  }
  ShowControls();
  return true;
}

void DesignWindow::SelectFacetStep(int step) {
  Forward([&] { editor_->SelectFacetStep(step); });
}

PictureSettings DesignWindow::CurrentSettings() const {
  PictureSettings settings;
  settings.maxLevel = ReflectionCount() - 1;
  settings.surfaceReflections = menu_.SurfaceRefl->isChecked();
  settings.reflected = menu_.Reflected->isChecked();
  settings.dispersion = menu_.Dispersion->isChecked();
  settings.edges = menu_.Edges->isChecked();
  settings.antiAliasing = menu_.AA->isChecked();
  settings.selectedStep = editor_ ? editor_->SelectedStep() : -1;
  return settings;
}

void DesignWindow::PictureStale() { picture_.SetRebuild(); }

void DesignWindow::PlaySound(std::string_view name) {
  Sound(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
}

void DesignWindow::StoneRebuilt() {
  const std::shared_ptr<const Stone>& stone = State().stone;
  picture_.SetStone(stone);
  parameters_.SetStone(stone);
  picture_.Repaint();
  if (parametersWindow_.isVisible()) parameters_.ComputeWeight();
  emit stoneRebuilt();
}

bool DesignWindow::PictureShowsCrown() const { return picture_.ShowsCrown(); }

void DesignWindow::TurnStoneOver() { picture_.Rotate(); }

void DesignWindow::Save1Click() { SaveWithDialog(); }

bool DesignWindow::SaveWithDialog() {
  if (saveDialog_->exec() != QDialog::Accepted || saveDialog_->selectedFiles().isEmpty()) return false;
  const QString extension = saveDialog_->selectedNameFilter() == kSaveFilters[1] ? ".txt" : ".brl";
  saveDialog_->setDefaultSuffix(extension.mid(1));
  QString name = saveDialog_->selectedFiles().first();
  const QString suffix = QFileInfo(name).suffix();
  if (!suffix.isEmpty()) name.chop(suffix.size() + 1);
  return SaveDesign(name + extension);
}

void DesignWindow::Open1Click() {
  if (openDialog_->exec() != QDialog::Accepted || openDialog_->selectedFiles().isEmpty()) return;
  OpenDesign(openDialog_->selectedFiles().first());
}

void DesignWindow::ReflectionsClick(QAction* item) {
  menu_.Reflections->menuAction()->setProperty("Tag", Tag(item));
  picture_.SetRebuild();
  picture_.Repaint();
}

void DesignWindow::AnimationClick(QAction* item, bool checked) {
  // The clicked item has already toggled; the others lose their marks so that
  // at most one animation runs.
  for (QAction* other : menu_.animations) {
    if (other != item) other->setChecked(false);
  }
  item->setChecked(checked);
  const std::optional<AnimationVariant> variant = VariantOfTag(Tag(item));
  if (checked && variant) picture_.Animate(*variant);
}

void DesignWindow::Help1Click() {
  const QString manual = QFileInfo(ManualFile()).absoluteFilePath();
  // The desktop may report success for a file that is not there, so that case is told apart first.
  if (QFileInfo::exists(manual) && QDesktopServices::openUrl(QUrl::fromLocalFile(manual))) return;
  QMessageBox::information(this, "Brillora", "Cannot open the manual \"" + QDir::toNativeSeparators(manual) + "\".");
}

void DesignWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  hide();
  picture_.close();
}

// Undo and redo, the drags that make one step each, and the question and the
// caption mark of a changed design.
void DesignWindow::ConnectHistory() {
  connect(menu_.Undo1, &QAction::triggered, this, [this] { Forward([&] { editor_->Undo(); }); });
  connect(menu_.Redo1, &QAction::triggered, this, [this] { Forward([&] { editor_->Redo(); }); });
  for (TNTrackBar* bar : {slopeBar_, maxSlopeBar_, positBar_}) {
    connect(bar, &QSlider::sliderPressed, this, [this] { Forward([&] { editor_->BeginDrag(); }); });
    connect(bar, &QSlider::sliderReleased, this, [this] { Forward([&] { editor_->EndDrag(); }); });
  }
  for (QDoubleSpinBox* spin : {slopeSpin_, maxSlopeSpin_}) spin->installEventFilter(this);
}

// A GemCad design opens for editing only when it fits the tier model; else
// the current design stays.
bool DesignWindow::OpenGemCadDesign(const QString& file) {
  double refractiveIndex = 0.0;
  const std::optional<Design> design = GemCadDesignToEdit(this, file, refractiveIndex);
  if (!design || !InstallDesign(*design)) return false;
  Sound("Create");
  parametersWindow_.hide();
  caption_ = QFileInfo(file).fileName();
  ShowCaption();
  parameters_.ApplyLoadedIndex(refractiveIndex);
  return true;
}

void DesignWindow::ConnectExports() {
  connect(menu_.ExportGemCad1, &QAction::triggered, this, [this] {
    const QString file = AskExportFile(this, "Export GemCad Design", {"GemCad design (*.asc)"});
    const QString name = caption_.trimmed().isEmpty() ? QString("Design") : QFileInfo(caption_.trimmed()).completeBaseName();
    if (!file.isEmpty()) ExportGemCadDesign(this, State().AsDesign(), parameters_.RefractiveIndex(), name, file);
  });
  connect(menu_.Export3D1, &QAction::triggered, this, [this] {
    const QString file = AskExportFile(this, "Export 3D Model", {"STL model (*.stl)", "OBJ model (*.obj)"});
    if (!file.isEmpty()) Export3DModel(this, State(), file);
  });
}

bool DesignWindow::WatchDrag(QObject* watched, QEvent* event) {
  if (watched != slopeSpin_ && watched != maxSlopeSpin_) return false;
  switch (event->type()) {
    case QEvent::MouseButtonPress: Forward([&] { editor_->BeginDrag(); }); return false;
    case QEvent::MouseButtonRelease: Forward([&] { editor_->EndDrag(); }); return false;
    case QEvent::ShortcutOverride: {
      // The number field would take the keys for its own text; they undo the design.
      const auto* key = static_cast<QKeyEvent*>(event);
      const QKeySequence pressed(key->keyCombination());
      return pressed == menu_.Undo1->shortcut() || menu_.Redo1->shortcuts().contains(pressed);
    }
    default: return false;
  }
}

void DesignWindow::ShowCaption() {
  const QString wanted = caption_ + (editor_ && editor_->IsModified() ? " *" : "");
  if (wanted == shownCaption_) return;
  shownCaption_ = wanted;
  setWindowTitle(wanted);
}

bool DesignWindow::ConfirmClose() {
  if (closeConfirmed_ || !editor_ || !editor_->IsModified()) return true;
  const auto answer = QMessageBox::question(this, "Brillora", "Save changes to the design?",
                                            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                            QMessageBox::Save);
  if (answer == QMessageBox::Save ? !SaveWithDialog() : answer != QMessageBox::Discard) return false;
  closeConfirmed_ = true;
  return true;
}

void DesignWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void DesignWindow::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.isEmpty()) return;
  event->acceptProposedAction();
  OpenDesign(urls.first().toLocalFile().left(kMaxDroppedName));
}

}  // namespace brillora
