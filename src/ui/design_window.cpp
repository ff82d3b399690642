#include "ui/design_window.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QUrl>
#include <algorithm>

#include "model/step_editor.h"
#include "params/parameters_window.h"
#include "params/stone_parameters.h"
#include "ui/about_window.h"
#include "ui/design_controls_panel.h"
#include "ui/design_exports.h"
#include "ui/sound_player.h"
#include "view/picture_window.h"
#include "widgets/file_drop.h"
#include "widgets/title_width.h"

namespace brillora {

namespace {

constexpr int kClientWidth = 193;
constexpr int kClientHeight = 423;
const QStringList kSaveFilters = {"Shape (*.brl)", "Text File (*.txt)"};
const QStringList kOpenFilters = {"All(*.brl;*.txt) (*.brl *.txt)", "Shape (*.brl)", "Text File (*.txt)",
                                   "GemCad (*.asc *.gem)"};
const QStringList kFixedSaveFilters = {"GemCad (*.asc)"};

}  // namespace

DesignWindow::DesignWindow(DesignWindowPeers peers, QDir programFolder, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      picture_(peers.picture),
      parametersWindow_(peers.parameters),
      parameters_(peers.stoneParameters),
      programFolder_(std::move(programFolder)),
      document_(static_cast<EditorObserver&>(*this), parameters_, static_cast<DocumentDesk&>(*this)),
      player_(std::make_unique<SoundPlayer>(QDir(programFolder_.filePath("Sound")))),
      openDialog_(std::make_unique<FileDialog>(this, QFileDialog::AcceptOpen, "OpenDialog1")),
      saveDialog_(std::make_unique<FileDialog>(this, QFileDialog::AcceptSave, "SaveDialog1")) {
  setObjectName("Form1");
  QFont font("Sans Serif");
  font.setPixelSize(11);
  setFont(font);

  menuBar()->setObjectName("MainMenu1");
  // The narrow window must still show every menu title.
  menuBar()->setStyleSheet("QMenuBar { font-size: 11px; } QMenuBar::item { padding: 2px 4px; }");
  menu_ = BuildDesignMenu(menuBar());
  panel_ = new DesignControlsPanel(this);
  panel_->SetHistoryKeys(QList<QKeySequence>{menu_.Undo1->shortcut()} + menu_.Redo1->shortcuts());
  setCentralWidget(panel_);
  // The window takes the size its controls, its menu and its caption need in
  // the fonts they are shown in, and the user cannot change it.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  connect(panel_, &DesignControlsPanel::shown, this, [this] {
    // A fixed stone has no history, and nothing the optimizer could change.
    const StepEditor* editor = document_.Fixed() == nullptr ? document_.Editor() : nullptr;
    menu_.Undo1->setEnabled(editor != nullptr && editor->CanUndo());
    menu_.Redo1->setEnabled(editor != nullptr && editor->CanRedo());
    menu_.Optimize1->setVisible(document_.Fixed() == nullptr);
    ShowCaption();
    emit pictureSettingsChanged();  // the selected step may have moved
  });
  connect(panel_, &DesignControlsPanel::flipRequested, this, [this] { picture_.Rotate(); });
  ShowCaption();
  ConnectMenu();
  ConnectHistory();
  ConnectExports();

  saveDialog_->setDefaultSuffix("brl");
  saveDialog_->setNameFilters(kSaveFilters);
  saveDialog_->selectFile("Shape");
  saveDialog_->setOption(QFileDialog::ReadOnly, false);
  // The extension follows the filter: ".txt" for "Text File", else ".brl".
  saveDialog_->SetNameRule(WithFilterExtension);
  openDialog_->setDefaultSuffix("brl");
  openDialog_->setNameFilters(kOpenFilters);
}

DesignWindow::~DesignWindow() {
  setAcceptDrops(false);
  // The panel, a child of this window, outlives the document it shows.
  panel_->disconnect(this);
  panel_->Detach();
}

const StepMenu& DesignWindow::Steps() const { return panel_->Steps(); }

void DesignWindow::ConnectMenu() {
  for (QAction* item : {menu_.ImagetoClipboard1, menu_.SaveImagetoFile1, menu_.ImagetoClipboard2}) {
    connect(item, &QAction::triggered, this, [this] { Sound("Type"); });
  }
  connect(menu_.Save1, &QAction::triggered, this, [this] {
    document_.SaveAs();
    ShowCaption();
  });
  connect(menu_.Open1, &QAction::triggered, this, &DesignWindow::Open1Click);
  connect(menu_.reflectionGroup, &QActionGroup::triggered, this, &DesignWindow::ReflectionsClick);
  for (QAction* item : {menu_.SurfaceRefl, menu_.Dispersion, menu_.Edges, menu_.AA}) {
    connect(item, &QAction::triggered, this, &DesignWindow::pictureSettingsChanged);
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
  if (!arguments.isEmpty()) document_.Open(arguments.first());
  document_.StartDefault();
  AttachEditor();
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
  const bool opened = document_.Open(file);
  ShowDocument();
  return opened;
}

bool DesignWindow::SaveDesign(const QString& file) {
  const bool saved = document_.Save(file);
  ShowCaption();
  return saved;
}

bool DesignWindow::ConfirmClose() {
  const bool mayClose = document_.MayClose();
  ShowCaption();
  return mayClose;
}

void DesignWindow::ShowDocument() {
  if (document_.Editor() == nullptr) {
    ShowCaption();
    return;
  }
  // The first design installed gives the panel its editor.
  AttachEditor();
}

void DesignWindow::AttachEditor() {
  selectedTier_ = -1;
  if (const FixedStone* fixed = document_.Fixed()) {
    panel_->ShowFixedStone(QString::fromStdString(FixedStoneLine(fixed->design)));
    return;
  }
  document_.Editor()->SetPictureShowsCrown(pictureShowsCrown_);
  panel_->Attach(*document_.Editor());
}

void DesignWindow::SetPictureShowsCrown(bool crown) {
  pictureShowsCrown_ = crown;
  if (StepEditor* editor = document_.Editor()) editor->SetPictureShowsCrown(crown);
}

void DesignWindow::ShowCaption() {
  const QString wanted = document_.Caption();
  if (wanted == shownCaption_) return;
  shownCaption_ = wanted;
  setWindowTitle(wanted);
}

void DesignWindow::FitSize() {
  panel_->setMinimumSize(std::max({kClientWidth, menuBar()->sizeHint().width(), TitleBarWidth(*this)}),
                         kClientHeight);
  layout()->activate();
}

bool DesignWindow::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::WindowTitleChange:
    case QEvent::ApplicationFontChange:
      FitSize();
      break;
    default:
      break;
  }
  return QMainWindow::event(event);
}

bool DesignWindow::ApplyDesign(const Design& design) {
  bool applied = false;
  panel_->Forward([&](StepEditor& editor) { applied = editor.ApplyDesign(design); });
  return applied;
}

void DesignWindow::SelectFacetStep(int step) {
  if (document_.Fixed() != nullptr) {
    selectedTier_ = step;
    Sound("Click");
    emit pictureSettingsChanged();
    return;
  }
  panel_->Forward([step](StepEditor& editor) { editor.SelectFacetStep(step); });
}

PictureSettings DesignWindow::CurrentSettings() const {
  PictureSettings settings;
  settings.maxLevel = ReflectionCount() - 1;
  settings.surfaceReflections = menu_.SurfaceRefl->isChecked();
  settings.reflected = menu_.Reflected->isChecked();
  settings.refractiveIndex = parameters_.RefractiveIndex();
  if (menu_.Dispersion->isChecked()) settings.dispersion = parameters_.Dispersion();
  settings.edges = menu_.Edges->isChecked();
  settings.antiAliasing = menu_.AA->isChecked();
  settings.selectedStep = document_.Fixed() != nullptr    ? selectedTier_
                          : document_.Editor() != nullptr ? document_.Editor()->SelectedStep()
                                                          : -1;
  return settings;
}

void DesignWindow::PlaySound(std::string_view name) {
  Sound(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
}

void DesignWindow::StoneRebuilt() {
  const std::shared_ptr<const Stone>& stone = State().stone;
  picture_.SetStone(stone);
  // A fixed stone's facets come in the file's order, not culet to table.
  parameters_.SetStone(stone, document_.Fixed() != nullptr ? HeightsFrom::Corners : HeightsFrom::TableAndCulet);
  if (parametersWindow_.isVisible()) parameters_.ComputeWeight();
  emit stoneRebuilt();
}

void DesignWindow::TurnStoneOver() { picture_.Rotate(); }

DocumentDesk::Unsaved DesignWindow::AskToSaveChanges() {
  switch (QMessageBox::question(this, "Brillora", "Save changes to the design?",
                                QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save)) {
    case QMessageBox::Save: return Unsaved::Save;
    case QMessageBox::Discard: return Unsaved::Discard;
    default: return Unsaved::Cancel;
  }
}

QString DesignWindow::AskFileToSave() {
  // A fixed stone is saved as the GemCad design it is; a design file would lose it.
  const bool fixed = document_.Fixed() != nullptr;
  if (saveDialog_->nameFilters() != (fixed ? kFixedSaveFilters : kSaveFilters)) {
    saveDialog_->setNameFilters(fixed ? kFixedSaveFilters : kSaveFilters);
    saveDialog_->setDefaultSuffix(fixed ? "asc" : "brl");
  }
  return saveDialog_->Ask();
}

void DesignWindow::Tell(const QString& message) { QMessageBox::information(this, "Brillora", message); }

void DesignWindow::ReadingDesign() {
  Sound("Create");
  parametersWindow_.hide();
}

void DesignWindow::Open1Click() {
  const QString file = openDialog_->Ask();
  if (!file.isEmpty()) OpenDesign(file);
}

void DesignWindow::ReflectionsClick(QAction* item) {
  menu_.Reflections->menuAction()->setProperty("Tag", Tag(item));
  emit pictureSettingsChanged();
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

// Undo and redo.
void DesignWindow::ConnectHistory() {
  connect(menu_.Undo1, &QAction::triggered, this,
          [this] { panel_->Forward([](StepEditor& editor) { editor.Undo(); }); });
  connect(menu_.Redo1, &QAction::triggered, this,
          [this] { panel_->Forward([](StepEditor& editor) { editor.Redo(); }); });
}

void DesignWindow::ConnectExports() {
  connect(menu_.ExportGemCad1, &QAction::triggered, this, [this] {
    const QString file = AskExportFile(this, "Export GemCad Design", {"GemCad design (*.asc)"});
    const QString name =
        document_.FileName().isEmpty() ? QString("Design") : QFileInfo(document_.FileName()).completeBaseName();
    if (file.isEmpty()) return;
    if (const FixedStone* fixed = document_.Fixed()) {
      ExportGemCadDesign(this, fixed->design, parameters_.RefractiveIndex(), file);
    } else {
      ExportGemCadDesign(this, State().AsDesign(), parameters_.RefractiveIndex(), name, file);
    }
  });
  connect(menu_.Export3D1, &QAction::triggered, this, [this] {
    const QString file = AskExportFile(this, "Export 3D Model", {"STL model (*.stl)", "OBJ model (*.obj)"});
    if (file.isEmpty()) return;
    if (const FixedStone* fixed = document_.Fixed()) {
      Export3DModel(this, *State().stone, GemCadTierNames(fixed->design), file);
    } else {
      Export3DModel(this, State(), file);
    }
  });
}

void DesignWindow::dragEnterEvent(QDragEnterEvent* event) { WelcomeFiles(event); }

void DesignWindow::dropEvent(QDropEvent* event) {
  if (const std::optional<QString> file = TakeDroppedFile(event, kLongestDroppedDesign)) OpenDesign(*file);
}

}  // namespace brillora
