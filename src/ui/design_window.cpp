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
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QTabBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "io/design_file.h"
#include "model/default_design.h"
#include "params/parameters_window.h"
#include "params/stone_parameters.h"
#include "ui/about_window.h"
#include "ui/nt_track_bar.h"
#include "ui/side_icons.h"
#include "ui/sound_player.h"
#include "view/picture_window.h"

namespace brillora {

namespace {

constexpr int kClientWidth = 193;
constexpr int kClientHeight = 423;
constexpr int kMaxDroppedName = 256;
const QStringList kSymmetryOrders = {"2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "16", "24", "36", "48"};
const QStringList kSaveFilters = {"Shape (*.brl)", "Text File (*.txt)"};
const QStringList kOpenFilters = {"All(*.brl;*.txt) (*.brl *.txt)", "Shape (*.brl)", "Text File (*.txt)"};

template <typename W>
W* Named(W* widget, const QString& name) {
  widget->setObjectName(name);
  return widget;
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text) {
  return Named(new QLabel(text, parent), name);
}

TNTrackBar* MakeBar(QWidget* parent, const QString& name, int minimum, int maximum, int position) {
  auto* bar = Named(new TNTrackBar(parent), name);
  bar->setRange(minimum, maximum);
  bar->setValue(position);
  bar->setFixedSize(160, 24);
  return bar;
}

QDoubleSpinBox* MakeSpin(QWidget* parent, const QString& name, double value) {
  auto* spin = Named(new QDoubleSpinBox(parent), name);
  spin->setRange(0.01, 89.0);
  spin->setSingleStep(0.01);
  spin->setDecimals(2);
  spin->setValue(value);
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
      saveDialog_(std::make_unique<QFileDialog>(this)) {
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
  // Wider only when the platform's menu font would hide a menu title.
  setFixedSize(std::max(kClientWidth, menuBar()->sizeHint().width()),
               kClientHeight + menuBar()->sizeHint().height());
  ConnectMenu();
  ConnectControls();

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

  auto* panel3 = Named(new QFrame(central), "Panel3");
  panel3_ = panel3;
  panel3->setFrameShape(QFrame::StyledPanel);
  panel3->installEventFilter(this);
  auto* label1 = MakeLabel(panel3, "Label1", "Symmetry Order");
  QFont bold = label1->font();
  bold.setBold(true);
  bold.setPixelSize(13);
  label1->setFont(bold);
  symBox_ = Named(new QComboBox(panel3), "SymBox");
  symBox_->addItems(kSymmetryOrders);
  gearLabel_ = MakeLabel(panel3, "Label5", "");
  auto* panelLayout = new QGridLayout(panel3);
  panelLayout->setContentsMargins(4, 2, 4, 2);
  panelLayout->addWidget(label1, 0, 0);
  panelLayout->addWidget(symBox_, 0, 1);
  panelLayout->addWidget(gearLabel_, 1, 0, 1, 2);
  layout->addWidget(panel3);

  // Side tabs with the side switch over their right end.
  sideTabs_ = Named(new QTabBar(central), "TabControl1");
  sideTabs_->addTab(CrownIcon(), "");
  sideTabs_->addTab(PavilionIcon(), "");
  sideTabs_->setIconSize(QSize(32, 20));
  sideTabs_->setStyleSheet("QTabBar::tab { width: 70px; }");
  crownButton_ = Named(new QToolButton(central), "CrownButton");
  crownButton_->setText(QString(QChar(0x21C5)));
  crownButton_->setStyleSheet("color: rgb(255, 0, 0); font-weight: bold;");
  auto* sideRow = new QHBoxLayout;
  sideRow->addWidget(sideTabs_);
  sideRow->addStretch();
  sideRow->addWidget(crownButton_);
  layout->addLayout(sideRow);

  QFrame* sidePage = TabPage(central);
  auto* sideLayout = new QVBoxLayout(sidePage);
  sideLayout->setContentsMargins(2, 2, 2, 2);
  sideLayout->setSpacing(1);
  auto* maxRow = new QHBoxLayout;
  maxRow->addWidget(MakeLabel(sidePage, "MaxAngleLabel", "Max Slope  ="));
  maxSlopeSpin_ = MakeSpin(sidePage, "RxSpinEdit2", 40.0);
  maxRow->addWidget(maxSlopeSpin_);
  sideLayout->addLayout(maxRow);
  maxSlopeBar_ = MakeBar(sidePage, "TrackAngle2", 1, 890, 400);
  sideLayout->addWidget(maxSlopeBar_);

  stepTabs_ = Named(new QTabBar(sidePage), "TabControl2");
  stepTabs_->setToolTip("Steps");
  stepTabs_->setExpanding(false);
  stepTabs_->setUsesScrollButtons(true);
  stepTabs_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(stepTabs_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { stepMenu_.menu->popup(stepTabs_->mapToGlobal(at)); });
  sideLayout->addWidget(stepTabs_);
  QFrame* stepPage = TabPage(sidePage);
  auto* stepLayout = new QGridLayout(stepPage);
  stepLayout->setContentsMargins(2, 2, 2, 2);
  stepLayout->setVerticalSpacing(1);
  splitBox_ = Named(new QComboBox(stepPage), "SplitBox");
  shiftBox_ = Named(new QComboBox(stepPage), "ShiftBox");
  shiftLabel_ = MakeLabel(stepPage, "Label4", "Shift");
  facetAngleLabel_ = MakeLabel(stepPage, "FacetAngleLabel", "Facet Slope  =");
  slopeSpin_ = MakeSpin(stepPage, "RxSpinEdit1", 40.0);
  slopeBar_ = MakeBar(stepPage, "TrackAngle1", 1, 890, 400);
  autoBox_ = Named(new QCheckBox("Auto", stepPage), "CheckBox");
  autoBox_->setToolTip("Automatic Facet Meeting");
  autoBox_->setChecked(true);
  positLabel_ = MakeLabel(stepPage, "Label6", "Position");
  positLabel_->setToolTip("Position of next Step of Facets");
  positBar_ = MakeBar(stepPage, "PositBar", 1, 200, kStartPositBar);
  stepLayout->addWidget(MakeLabel(stepPage, "Label2", "Split"), 0, 0);
  stepLayout->addWidget(splitBox_, 0, 1);
  stepLayout->addWidget(shiftLabel_, 1, 0);
  stepLayout->addWidget(shiftBox_, 1, 1);
  stepLayout->addWidget(facetAngleLabel_, 2, 0);
  stepLayout->addWidget(slopeSpin_, 2, 1);
  stepLayout->addWidget(slopeBar_, 3, 0, 1, 2);
  stepLayout->addWidget(autoBox_, 4, 0, 1, 2);
  stepLayout->addWidget(positLabel_, 5, 0, 1, 2);
  stepLayout->addWidget(positBar_, 6, 0, 1, 2);
  // Hidden controls keep their place, so the others do not jump about.
  for (QWidget* w : std::initializer_list<QWidget*>{shiftBox_, shiftLabel_, facetAngleLabel_, slopeSpin_, slopeBar_, autoBox_}) {
    QSizePolicy policy = w->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    w->setSizePolicy(policy);
  }
  sideLayout->addWidget(stepPage);

  dataTabs_ = Named(new QTabBar(sidePage), "TabControl3");
  dataTabs_->setExpanding(false);
  dataTabs_->setUsesScrollButtons(true);
  sideLayout->addWidget(dataTabs_);
  QFrame* dataPage = TabPage(sidePage);
  auto* dataLayout = new QVBoxLayout(dataPage);
  dataLayout->setContentsMargins(2, 2, 2, 2);
  facetAngle2Label_ = MakeLabel(dataPage, "FacetAngle2Label", "Facet Slope");
  distLabel_ = MakeLabel(dataPage, "DistLabel", "Distance");
  dataLayout->addWidget(facetAngle2Label_);
  dataLayout->addWidget(distLabel_);
  sideLayout->addWidget(dataPage);
  layout->addWidget(sidePage);
  layout->addStretch();

  // Focus moving into a control is news for the rules (a typed slope ends Auto).
  for (const auto& [widget, control] :
       std::initializer_list<std::pair<QWidget*, Control>>{{symBox_, Control::SymBox}, {splitBox_, Control::SplitBox},
                                                           {shiftBox_, Control::ShiftBox}, {slopeBar_, Control::TrackAngle1},
                                                           {slopeSpin_, Control::RxSpinEdit1}, {maxSlopeBar_, Control::TrackAngle2},
                                                           {maxSlopeSpin_, Control::RxSpinEdit2}, {positBar_, Control::PositBar},
                                                           {autoBox_, Control::CheckBox}, {sideTabs_, Control::TabControl1},
                                                           {stepTabs_, Control::TabControl2}, {dataTabs_, Control::TabControl3},
                                                           {crownButton_, Control::CrownButton}}) {
    widget->setProperty("Control", static_cast<int>(control));
    widget->installEventFilter(this);
  }
  return central;
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
  if (showing_ || !editor_) return;
  action();
  ShowControls();
}

bool DesignWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn && watched->property("Control").isValid()) {
    const auto control = static_cast<Control>(watched->property("Control").toInt());
    Forward([&] { editor_->FocusControl(control); });
  } else if (event->type() == QEvent::MouseButtonPress && (watched == panel3_ || watched == centralWidget())) {
    Forward([&] { editor_->ClickBackground(); });
  }
  return QMainWindow::eventFilter(watched, event);
}

namespace {

void ShowList(QComboBox* combo, const ListControl& list) {
  QStringList items;
  for (const std::string& item : list.items) items << QString::fromStdString(item);
  QStringList shown;
  for (int i = 0; i < combo->count(); ++i) shown << combo->itemText(i);
  if (shown != items) {
    combo->clear();
    combo->addItems(items);
  }
  combo->setCurrentIndex(list.items.empty() ? -1 : list.index);
}

void ShowTabs(QTabBar* tabs, const ListControl& list) {
  const int count = static_cast<int>(list.items.size());
  while (tabs->count() > count) tabs->removeTab(tabs->count() - 1);
  for (int i = 0; i < count; ++i) {
    const QString text = QString::fromStdString(list.items[i]);
    if (i < tabs->count()) {
      if (tabs->tabText(i) != text) tabs->setTabText(i, text);
    } else {
      tabs->addTab(text);
    }
  }
  if (count > 0) tabs->setCurrentIndex(list.index);
}

void ShowBar(QSlider* bar, const TrackBar& state) {
  bar->setRange(state.min, state.max);
  bar->setValue(state.position);
}

void ShowSpin(QDoubleSpinBox* spin, const SpinEdit& state) {
  spin->setRange(state.min, state.max);
  spin->setValue(state.value);
}

}  // namespace

void DesignWindow::ShowControls() {
  if (!editor_) return;
  const EditorControls& c = editor_->Controls();
  showing_ = true;
  ShowList(symBox_, c.SymBox);
  gearLabel_->setText(QString::fromStdString(c.Label5));
  ShowList(splitBox_, c.SplitBox);
  ShowList(shiftBox_, c.ShiftBox);
  ShowBar(slopeBar_, c.TrackAngle1);
  ShowSpin(slopeSpin_, c.RxSpinEdit1);
  autoBox_->setChecked(c.CheckBox);
  ShowBar(positBar_, c.PositBar);
  positLabel_->setText(QString::fromStdString(c.Label6));
  ShowBar(maxSlopeBar_, c.TrackAngle2);
  ShowSpin(maxSlopeSpin_, c.RxSpinEdit2);
  sideTabs_->setCurrentIndex(c.TabControl1.index);
  const QColor sideColour(c.TabControl1Font.r, c.TabControl1Font.g, c.TabControl1Font.b);
  for (int i = 0; i < sideTabs_->count(); ++i) sideTabs_->setTabTextColor(i, sideColour);
  ShowTabs(stepTabs_, c.TabControl2);
  ShowTabs(dataTabs_, c.TabControl3);
  facetAngle2Label_->setText(QString::fromStdString(c.FacetAngle2Label));
  distLabel_->setText(QString::fromStdString(c.DistLabel));
  shiftBox_->setVisible(c.ShiftBoxVisible);
  shiftLabel_->setVisible(c.Label4Visible);
  slopeBar_->setVisible(c.TrackAngle1Visible);
  slopeSpin_->setVisible(c.RxSpinEdit1Visible);
  facetAngleLabel_->setVisible(c.FacetAngleLabelVisible);
  autoBox_->setVisible(c.CheckBoxVisible);
  showing_ = false;
}

void DesignWindow::ConnectMenu() {
  for (QAction* item : {menu_.ImagetoClipboard1, menu_.SaveImagetoFile1, menu_.ImagetoClipboard2}) {
    connect(item, &QAction::triggered, this, [this] { Sound("Type"); });
  }
  connect(menu_.Save1, &QAction::triggered, this, &DesignWindow::Save1Click);
  connect(menu_.Open1, &QAction::triggered, this, &DesignWindow::Open1Click);
  connect(menu_.reflectionGroup, &QActionGroup::triggered, this, &DesignWindow::ReflectionsClick);
  connect(menu_.SurfaceRefl, &QAction::triggered, this, [this] {
    picture_.SetRebuild();
    picture_.Repaint();
  });
  for (QAction* item : {menu_.Edges, menu_.AA}) {
    connect(item, &QAction::triggered, this, [this] { picture_.Repaint(); });
  }
  connect(menu_.Racetracking1, &QAction::triggered, this, [this](bool checked) {
    if (lightMap_ != nullptr) lightMap_->setVisible(checked);
  });
  for (QAction* item : menu_.animations) {
    connect(item, &QAction::triggered, this, [this, item](bool checked) { AnimationClick(item, checked); });
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
  setWindowTitle(QFileInfo(file).fileName());
  parameters_.ApplyLoadedIndex(read.refractiveIndex);
  return true;
}

bool DesignWindow::SaveDesign(const QString& file) {
  const DesignSaveResult saved = SaveDesignFile(file.toStdString(), State().AsDesign(), parameters_.RefractiveIndex());
  if (!saved.written && !saved.error.empty()) {
    QMessageBox::information(this, "Brillora", QString::fromStdString(saved.error));
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

void DesignWindow::Save1Click() {
  if (saveDialog_->exec() != QDialog::Accepted || saveDialog_->selectedFiles().isEmpty()) return;
  const QString extension = saveDialog_->selectedNameFilter() == kSaveFilters[1] ? ".txt" : ".brl";
  saveDialog_->setDefaultSuffix(extension.mid(1));
  QString name = saveDialog_->selectedFiles().first();
  const QString suffix = QFileInfo(name).suffix();
  if (!suffix.isEmpty()) name.chop(suffix.size() + 1);
  SaveDesign(name + extension);
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
}

void DesignWindow::Help1Click() {
  QDesktopServices::openUrl(QUrl::fromLocalFile(ManualFile()));
}

void DesignWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  hide();
  picture_.close();
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
