#pragma once

#include <QObject>
#include <QTemporaryDir>
#include <memory>

#include "ui/brillora_app.h"

// Where the windows stand on the screen: by their frames, captions on the
// available area, the picture window beside the design window.
class WindowPlacementTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void everyFrameLiesOnTheAvailableArea();
  void windowsStandInPlaceWhenFirstShown();
  void aFrameTheDesktopPutElsewhereIsPlacedAgain();
  void framePositionsKeepTheCaptionOnTheArea();

 private:
  QTemporaryDir programFolder_;
  std::unique_ptr<brillora::BrilloraApp> app_;
};
