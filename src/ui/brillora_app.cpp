#include "ui/brillora_app.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QMessageBox>

#include "analysis/light_performance_window.h"
#include "light/light_map_window.h"
#include "optimize/optimize_window.h"
#include "output/alignment_window.h"
#include "output/picture_size_window.h"
#include "output/system_printer.h"
#include "params/parameters_window.h"
#include "ui/about_window.h"
#include "ui/close_guard.h"
#include "ui/design_window.h"
#include "ui/gallery_window.h"
#include "ui/progress_window.h"
#include "view/picture_window.h"

namespace brillora {

BrilloraApp::BrilloraApp(QDir programFolder) {
  const QDir lightMapFolder = programFolder;
  picture_ = std::make_unique<PictureWindow>(parameters_, light_);
  parametersWindow_ = std::make_unique<ParametersWindow>(parameters_);
  design_ = std::make_unique<DesignWindow>(DesignWindowPeers{*picture_, *parametersWindow_, parameters_},
                                           std::move(programFolder));
  about_ = std::make_unique<AboutWindow>();
  printer_ = std::make_unique<SystemPrinter>();
  alignment_ = std::make_unique<AlignmentWindow>(
      *printer_, [this](QWidget* parent) { return printer_->Properties(parent); },
      [this] {
        // A fixed stone has no steps to tolerate errors in: its sheet lists its GemCad tiers.
        if (const FixedStone* fixed = design_->Fixed()) {
          SheetSubject subject{picture_->RequestAt(0, 0), {}, {}, parameters_.RefractiveIndex(), 0};
          subject.gemCadTiers = GemCadCuttingRows(fixed->design);
          return subject;
        }
        return SheetSubject{picture_->RequestAt(0, 0), design_->State().CrownSteps, design_->State().PavilionSteps,
                            parameters_.RefractiveIndex(), design_->State().SymOrder};
      },
      [this](const QString& name) { design_->Sound(name); });
  lightMap_ = std::make_unique<LightMapWindow>(light_, picture_->Screen(), lightMapFolder);
  progress_ = std::make_unique<ProgressWindow>();
  pictureSize_ = std::make_unique<PictureSizeWindow>(
      [this](int width, int height) { return picture_->RequestAt(width, height); },
      [this](const QString& name) { design_->Sound(name); });
  lightPerformance_ = std::make_unique<LightPerformanceWindow>();
  optimize_ = std::make_unique<OptimizeWindow>();
  gallery_ = std::make_unique<GalleryWindow>(lightMapFolder.filePath("GEM_DAT"));
  StartSavesOutside(QDir(lightMapFolder));
  Wire();
}

void BrilloraApp::StartSavesOutside(const QDir& dataFolder) {
  // A file dialog made without a folder starts where the last one was
  // pointed, and the light map's picture dialog points into the data folder,
  // which an installed program must never write into. Saves start in the
  // working folder, as the design window's always did.
  QDir start = QDir::current();
  const QString data = dataFolder.canonicalPath();
  if (start.canonicalPath() == data || start.canonicalPath().startsWith(data + '/')) start = QDir::home();
  for (QWidget* window : Windows()) {
    for (QFileDialog* dialog : window->findChildren<QFileDialog*>()) {
      if (dialog->acceptMode() == QFileDialog::AcceptSave) dialog->setDirectory(start);
    }
  }
}

BrilloraApp::~BrilloraApp() = default;

std::vector<QWidget*> BrilloraApp::Windows() const {
  return {picture_.get(), parametersWindow_.get(), design_.get(), about_.get(),
          alignment_.get(), lightMap_.get(), progress_.get(), pictureSize_.get()};
}

void BrilloraApp::Wire() {
  design_->AttachLaterWindows(about_.get(), lightMap_.get());
  picture_->SetTranslucentCompanions({design_.get(), pictureSize_.get(), parametersWindow_.get(), progress_.get()});
  // The picture is told what it shows: the settings whenever a menu switch,
  // the selected step or the refractive index changes, and the editor which
  // side the picture shows whenever that changes.
  QObject::connect(design_.get(), &DesignWindow::pictureSettingsChanged, picture_.get(),
                   [this] { PushPictureSettings(); });
  QObject::connect(parametersWindow_.get(), &ParametersWindow::pictureStale, picture_.get(),
                   [this] { PushPictureSettings(); });
  PushPictureSettings();
  QObject::connect(picture_.get(), &PictureWindow::sideShown, design_.get(), &DesignWindow::SetPictureShowsCrown);
  design_->SetPictureShowsCrown(picture_->ShowsCrown());
  QObject::connect(picture_.get(), &PictureWindow::facetStepChosen, design_.get(), &DesignWindow::SelectFacetStep);
  // The measuring segment shows while the parameters window shows its first
  // page; the window says so whenever its page or visibility changes.
  QObject::connect(parametersWindow_.get(), &ParametersWindow::pictureRepaint, picture_.get(), [this] {
    picture_->SetSegmentShown(parametersWindow_->isVisible() && parametersWindow_->FirstPageActive());
    picture_->Repaint();
  });
  QObject::connect(picture_.get(), &PictureWindow::designDropped, design_.get(), &DesignWindow::OpenDesign);
  QObject::connect(picture_.get(), &PictureWindow::closing, design_.get(), [this] { EndOfRun(); });
  // The flip's duration is shown as the design window's title.
  QObject::connect(picture_.get(), &PictureWindow::flipped, design_.get(),
                   [this](qint64 ms) { design_->setWindowTitle(QString::number(ms)); });
  QObject::connect(progress_.get(), &ProgressWindow::cancelRequested, design_.get(), &DesignWindow::StopAnimations);
  // Closing either window ends the run: a changed design is offered for
  // saving first, since the answer may keep the program open; the picture
  // window closing then ends it.
  for (QWidget* window : std::initializer_list<QWidget*>{picture_.get(), design_.get()}) {
    closeGuards_.push_back(std::make_unique<CloseGuard>([this] { return design_->ConfirmClose(); }));
    window->installEventFilter(closeGuards_.back().get());
  }
  // The preparation of an animation shows in the progress window, and an
  // animation that ends by itself clears its item's mark.
  QObject::connect(picture_.get(), &PictureWindow::animationProgress, progress_.get(), [this](int frame) {
    progress_->ShowProgress(frame);
    if (frame == 0) progress_->show();
  });
  QObject::connect(picture_.get(), &PictureWindow::animationPrepared, progress_.get(), &QWidget::hide);
  QObject::connect(picture_.get(), &PictureWindow::animationEnded, design_.get(), [this](int tag) {
    if (tag >= 0 && tag < design_->Menu().animations.size()) design_->Menu().animations[tag]->setChecked(false);
  });

  // The light map: every change of the surroundings recolours the picture, and
  // the map's spots follow the picture's polygons while it shows.
  light_.OnChanged = [this] { picture_->Recolour(); };
  QObject::connect(picture_.get(), &PictureWindow::screenChanged, lightMap_.get(), &LightMapWindow::PolygonsChanged);
  QObject::connect(lightMap_.get(), &LightMapWindow::closed, design_.get(),
                   [this] { design_->Menu().Racetracking1->setChecked(false); });

  // The light performance figures follow every rebuild of the stone and the
  // stone's refractive index and dispersion.
  const auto judgeStone = [this] {
    lightPerformance_->SetStone(design_->State().stone, design_->State().SymOrder);
    lightPerformance_->SetMaterial(parameters_.RefractiveIndex(), parameters_.Dispersion());
  };
  QObject::connect(design_.get(), &DesignWindow::stoneRebuilt, lightPerformance_.get(), judgeStone);
  QObject::connect(parametersWindow_.get(), &ParametersWindow::pictureStale, lightPerformance_.get(),
                   [this] { lightPerformance_->SetMaterial(parameters_.RefractiveIndex(), parameters_.Dispersion()); });
  QObject::connect(design_->Menu().LightPerformance1, &QAction::triggered, lightPerformance_.get(), [this] {
    lightPerformance_->show();
    lightPerformance_->raise();
  });
  WireOptimizer();
  WireOutput();
  WireGallery();
}

void BrilloraApp::PushPictureSettings() { picture_->SetSettings(design_->CurrentSettings()); }

void BrilloraApp::WireOptimizer() {
  // The optimizer follows every rebuild (an edit while it searches cancels
  // the search) and the refractive index; its result enters the design only
  // through Apply, as one edit.
  const auto follow = [this] {
    // A fixed stone is nothing the optimizer could change: it keeps the last design of steps.
    if (design_->Fixed() != nullptr) {
      optimize_->hide();
      return;
    }
    optimize_->SetDesign(design_->State().AsDesign());
    optimize_->SetRefractiveIndex(parameters_.RefractiveIndex());
    optimize_->SetDispersion(parameters_.Dispersion());
  };
  QObject::connect(design_.get(), &DesignWindow::stoneRebuilt, optimize_.get(), follow);
  QObject::connect(parametersWindow_.get(), &ParametersWindow::pictureStale, optimize_.get(),
                   [this] {
                     optimize_->SetRefractiveIndex(parameters_.RefractiveIndex());
                     optimize_->SetDispersion(parameters_.Dispersion());
                   });
  QObject::connect(optimize_.get(), &OptimizeWindow::applyRequested, design_.get(),
                   [this](const brillora::Design& design) { design_->ApplyDesign(design); });
  QObject::connect(design_->Menu().Optimize1, &QAction::triggered, optimize_.get(), [this, follow] {
    follow();
    optimize_->show();
    optimize_->raise();
  });
}

// A design chosen in the gallery opens as one chosen in the open dialog.
void BrilloraApp::WireGallery() {
  QObject::connect(design_->Menu().Gallery1, &QAction::triggered, gallery_.get(), [this] {
    gallery_->show();
    gallery_->raise();
  });
  QObject::connect(gallery_.get(), &GalleryWindow::designChosen, design_.get(), &DesignWindow::OpenDesign);
}

void BrilloraApp::WireOutput() {
  // The design window plays the items' cue; these open the export window.
  const DesignMenu& menu = design_->Menu();
  QObject::connect(menu.SaveImagetoFile1, &QAction::triggered, pictureSize_.get(),
                   [this] { pictureSize_->Open(ExportItem::File); });
  for (QAction* item : {menu.ImagetoClipboard1, menu.ImagetoClipboard2}) {
    QObject::connect(item, &QAction::triggered, pictureSize_.get(),
                     [this] { pictureSize_->Open(ExportItem::Clipboard); });
  }
  QObject::connect(menu.Data1, &QAction::triggered, alignment_.get(),
                   [this] { alignment_->Act(ContentKind::DataSheet); });
  QObject::connect(menu.Image2, &QAction::triggered, alignment_.get(), [this] { alignment_->Act(ContentKind::Image); });
  // While the print window shows, its preview follows the picture.
  QObject::connect(picture_.get(), &PictureWindow::repainted, alignment_.get(), [this] {
    if (alignment_->isVisible()) alignment_->PaintBox1Paint();
  });
  QObject::connect(alignment_.get(), &AlignmentWindow::closed, picture_.get(), [this] { picture_->SetRebuild(); });
}

void BrilloraApp::Start(const QStringList& arguments) {
  // Every window is placed before it is first shown; the design window shows
  // the picture window as it starts.
  placement_.Place(*design_, FrameSpot::TopLeft);
  placement_.Place(*picture_, FrameSpot::RightOf, design_.get());
  for (QWidget* window : std::initializer_list<QWidget*>{parametersWindow_.get(), about_.get(), alignment_.get(),
                                                         lightMap_.get(), progress_.get(), pictureSize_.get()}) {
    placement_.Place(*window, FrameSpot::Centre);
  }
  placement_.Place(*lightPerformance_, FrameSpot::Centre);
  placement_.Place(*optimize_, FrameSpot::Centre);
  placement_.Place(*gallery_, FrameSpot::Centre);
  design_->Start(arguments);
  design_->show();
}

void BrilloraApp::EndOfRun() {
  if (ended_) return;
  ended_ = true;
  design_->StopAnimations();
  QApplication::processEvents();
  for (QWidget* window : Windows()) {
    if (window != picture_.get()) window->hide();
  }
  lightPerformance_->hide();
  optimize_->hide();
  gallery_->hide();
  // Asked once the program will end for certain, and before the loop that
  // would show the question is told to stop.
  if (pictureSize_->ClipboardUsed() &&
      QMessageBox::question(picture_.get(), "Brillora", "Do you want to keep picture in Clipboard?",
                            QMessageBox::Yes | QMessageBox::No) == QMessageBox::No) {
    QApplication::clipboard()->clear();
  }
  QCoreApplication::quit();
}

}  // namespace brillora
