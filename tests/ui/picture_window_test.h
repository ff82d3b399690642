#pragma once

#include <QObject>
#include <QTemporaryDir>
#include <memory>

#include "ui/brillora_app.h"

// The picture window with the tracer and the drawing passes behind it.
class PictureWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void pictureIsNotUniform();
  void dispersionItemTracesThreeLines();
  void refinedPassFollowsAntiAliasing();
  void editDuringARefinedPassNeverShowsTheOlderPicture();
  void antiAliasingOffDuringARefinedPassKeepsTheFastPicture();
  void quittingDuringARefinedPassIsClean();
  void fullWidthDragTurnsHalfATurn();
  void resetRestoresTheInitialView();
  void doubleClickSelectsTheStepWithoutTurning();
  void sideSwitchFlipsAndShowsTheDuration();
  void sideSwitchKnowsTheSideTheMouseTurnedTo();
  void settingsArriveAsOneValue();

 private:
  QTemporaryDir programFolder_;
  std::unique_ptr<brillora::BrilloraApp> app_;
};
