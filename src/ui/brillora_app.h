#pragma once

#include <QDir>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <vector>

#include "light/illumination_model.h"
#include "params/stone_parameters.h"
#include "ui/window_placement.h"

namespace brillora {

class AboutWindow;
class AlignmentWindow;
class CloseGuard;
class DesignWindow;
class GalleryWindow;
class LightMapWindow;
class LightPerformanceWindow;
class OptimizeWindow;
class ParametersWindow;
class PictureSizeWindow;
class PictureWindow;
class ProgressWindow;
class SystemPrinter;

// The program's windows, created in their fixed order and kept for the whole
// run, and the stone parameters they share.
class BrilloraApp {
 public:
  explicit BrilloraApp(QDir programFolder);
  ~BrilloraApp();

  // Opens the design named by the first argument (or the default design) and
  // shows the design window beside the picture window.
  void Start(const QStringList& arguments);

  // Every window in the order of creation.
  std::vector<QWidget*> Windows() const;

  StoneParameters& Parameters() { return parameters_; }
  IlluminationModel& Light() { return light_; }
  PictureWindow& Picture() { return *picture_; }
  ParametersWindow& ParametersView() { return *parametersWindow_; }
  DesignWindow& Design() { return *design_; }
  AboutWindow& About() { return *about_; }
  AlignmentWindow& Alignment() { return *alignment_; }
  SystemPrinter& Printer() { return *printer_; }
  LightMapWindow& LightMap() { return *lightMap_; }
  ProgressWindow& Progress() { return *progress_; }
  LightPerformanceWindow& LightPerformance() { return *lightPerformance_; }
  OptimizeWindow& Optimizer() { return *optimize_; }
  PictureSizeWindow& PictureSize() { return *pictureSize_; }
  GalleryWindow& Gallery() { return *gallery_; }

 private:
  void StartSavesOutside(const QDir& dataFolder);
  void Wire();
  // The picture is given the menu switches, the selected step and the index.
  void PushPictureSettings();
  // The picture window closes: the questions are answered, the program ends.
  void EndOfRun();
  void WireOutput();
  void WireOptimizer();
  void WireGallery();

  StoneParameters parameters_;
  IlluminationModel light_;
  WindowPlacement placement_;
  std::unique_ptr<PictureWindow> picture_;
  std::unique_ptr<ParametersWindow> parametersWindow_;
  std::unique_ptr<DesignWindow> design_;
  std::unique_ptr<AboutWindow> about_;
  std::unique_ptr<SystemPrinter> printer_;
  std::unique_ptr<AlignmentWindow> alignment_;
  std::unique_ptr<LightMapWindow> lightMap_;
  std::unique_ptr<ProgressWindow> progress_;
  std::unique_ptr<PictureSizeWindow> pictureSize_;
  std::unique_ptr<LightPerformanceWindow> lightPerformance_;
  std::unique_ptr<OptimizeWindow> optimize_;
  std::unique_ptr<GalleryWindow> gallery_;
  bool ended_ = false;
  // Last, so that they go first: the windows that close as they are destroyed
  // ask nothing of a design window already partly gone.
  std::vector<std::unique_ptr<CloseGuard>> closeGuards_;
};

}  // namespace brillora
