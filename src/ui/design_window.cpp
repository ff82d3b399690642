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
#include "model/facet_construction.h"
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
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);

  auto* panel3 = Named(new QFrame(central), "Panel3");
  panel3->setFrameShape(QFrame::StyledPanel);
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
  auto* crownButton = Named(new QToolButton(central), "CrownButton");
  crownButton->setText(QString(QChar(0x21C5)));
  crownButton->setStyleSheet("color: rgb(255, 0, 0); font-weight: bold;");
  auto* sideRow = new QHBoxLayout;
  sideRow->addWidget(sideTabs_);
  sideRow->addStretch();
  sideRow->addWidget(crownButton);
  layout->addLayout(sideRow);

  QFrame* sidePage = TabPage(central);
  auto* sideLayout = new QVBoxLayout(sidePage);
  sideLayout->setContentsMargins(2, 2, 2, 2);
  sideLayout->setSpacing(1);
  auto* maxRow = new QHBoxLayout;
  maxRow->addWidget(MakeLabel(sidePage, "MaxAngleLabel", "Max Slope  ="));
  maxRow->addWidget(MakeSpin(sidePage, "RxSpinEdit2", 40.0));
  sideLayout->addLayout(maxRow);
  sideLayout->addWidget(MakeBar(sidePage, "TrackAngle2", 1, 890, 400));

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
  stepLayout->addWidget(MakeLabel(stepPage, "Label2", "Split"), 0, 0);
  stepLayout->addWidget(Named(new QComboBox(stepPage), "SplitBox"), 0, 1);
  stepLayout->addWidget(MakeLabel(stepPage, "Label4", "Shift"), 1, 0);
  stepLayout->addWidget(Named(new QComboBox(stepPage), "ShiftBox"), 1, 1);
  stepLayout->addWidget(MakeLabel(stepPage, "FacetAngleLabel", "Facet Slope  ="), 2, 0);
  stepLayout->addWidget(MakeSpin(stepPage, "RxSpinEdit1", 40.0), 2, 1);
  stepLayout->addWidget(MakeBar(stepPage, "TrackAngle1", 1, 890, 400), 3, 0, 1, 2);
  auto* autoBox = Named(new QCheckBox("Auto", stepPage), "CheckBox");
  autoBox->setToolTip("Automatic Facet Meeting");
  autoBox->setChecked(true);
  stepLayout->addWidget(autoBox, 4, 0, 1, 2);
  auto* label6 = MakeLabel(stepPage, "Label6", "Position");
  label6->setToolTip("Position of next Step of Facets");
  stepLayout->addWidget(label6, 5, 0, 1, 2);
  stepLayout->addWidget(MakeBar(stepPage, "PositBar", 1, 200, kStartPositBar), 6, 0, 1, 2);
  sideLayout->addWidget(stepPage);

  dataTabs_ = Named(new QTabBar(sidePage), "TabControl3");
  dataTabs_->setExpanding(false);
  dataTabs_->setUsesScrollButtons(true);
  sideLayout->addWidget(dataTabs_);
  QFrame* dataPage = TabPage(sidePage);
  auto* dataLayout = new QVBoxLayout(dataPage);
  dataLayout->setContentsMargins(2, 2, 2, 2);
  dataLayout->addWidget(MakeLabel(dataPage, "FacetAngle2Label", "Facet Slope"));
  dataLayout->addWidget(MakeLabel(dataPage, "DistLabel", "Distance"));
  sideLayout->addWidget(dataPage);
  layout->addWidget(sidePage);
  layout->addStretch();
  return central;
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
    picture_.update();
  });
  for (QAction* item : {menu_.Edges, menu_.AA}) {
    connect(item, &QAction::triggered, this, [this] { picture_.update(); });
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
  move(0, 0);
  state_.IsCrown = true;
  if (!arguments.isEmpty()) OpenDesign(arguments.first());
  if (state_.CrownSteps.empty()) InstallDesign(DefaultDesign());
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
  setWindowTitle(QFileInfo(file).fileName());
  InstallDesign(std::move(read.design));
  parameters_.ApplyLoadedIndex(read.refractiveIndex);
  return true;
}

bool DesignWindow::SaveDesign(const QString& file) {
  const Design design{state_.SymOrder, state_.GearNotches, state_.CrownSteps, state_.PavilionSteps};
  const DesignSaveResult saved = SaveDesignFile(file.toStdString(), design, parameters_.RefractiveIndex());
  if (!saved.written && !saved.error.empty()) {
    QMessageBox::information(this, "Brillora", QString::fromStdString(saved.error));
  }
  return saved.written;
}

void DesignWindow::InstallDesign(Design design) {
  auto stone = std::make_shared<const Stone>(ConstructStone(design));
  state_.SymOrder = design.SymOrder;
  state_.GearNotches = design.GearNotches;
  state_.CrownSteps = std::move(design.CrownSteps);
  state_.PavilionSteps = std::move(design.PavilionSteps);
  state_.stone = std::move(stone);
  state_.Changed = false;
  ShowDesign();
  picture_.SetRebuild();
  RefreshViewAndWeight();
}

void DesignWindow::ShowDesign() {
  symBox_->setCurrentText(QString::number(state_.SymOrder));
  gearLabel_->setText(QString::number(state_.GearNotches) + "-notch Gear");
}

void DesignWindow::RefreshViewAndWeight() {
  picture_.SetStone(state_.stone);
  parameters_.SetStone(state_.stone);
  picture_.update();
  if (parametersWindow_.isVisible()) parameters_.ComputeWeight();
}

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
  picture_.update();
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
