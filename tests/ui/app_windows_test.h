#pragma once

#include <QObject>
#include <QTemporaryDir>
#include <memory>

#include "ui/brillora_app.h"

// The program's windows as a whole: start-up, menus, files and the links
// between the windows.
class AppWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void windowsExistInTheirOrder();
  void designWindowControlsCarryTheirNames();
  void mainMenuItemsCarryTheirTags();
  void reflectionItemsActAsRadioItems();
  void edgesRepaintWithoutNewTrace();
  void animationItemsExcludeEachOther();
  void rayTracingShowsTheLightMap();
  void parametersItemShowsWeights();
  void openingSamplesAndBadFiles();
  void aDesignWithoutAStoneShowsOnlyTheBackground();
  void droppedFilesOpenOnlyTheFirst();
  void commandLineArgument();
  void saveAndReadBack();
  void failedSaveIsReportedAndKeepsTheOldFile();
  void soundCuesPlayOnlyExistingFiles();
  void helpReportsAManualItCannotOpen();
  void measuringSegmentFollowsTheParametersPage();
  void trackBarSelectionBand();
  void trackBarChannelShowsOnlyTheSelection();
  void progressAndAboutWindows();
  void screenshotsAreWritten();
  void maximizedPictureMakesOthersTranslucent();
  void closingEndsTheRunAndAsksAboutTheClipboard();
  void closingTheDesignWindowClosesThePicture();

 private:
  QTemporaryDir programFolder_;
  std::unique_ptr<brillora::BrilloraApp> app_;
};
