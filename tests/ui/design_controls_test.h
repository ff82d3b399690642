#pragma once

#include <QObject>
#include <QTemporaryDir>
#include <memory>

#include "ui/brillora_app.h"

// The design window's controls driven as a user would, with the step editor
// behind them.
class DesignControlsTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void defaultDesignShowsInTheControls();
  void symmetryChangesGearAndRebuildsOnce();
  void girdleThicknessBar();
  void slopeSpinEndsAuto();
  void newStepTabAndStepMenu();
  void sideSwitchTurnsTheStone();
  void pictureSelectionSwitchesSideWithoutTurning();
  void openedDesignShowsInTheControls();
  void maxSlopeMovesFromTheOpenedDesign();
  void focusMovedByHidingAControlIsNotTheUsers();
  void focusComingBackWithTheWindowKeepsAuto();
  void widgetsStartAsTheControlsAreDesigned();

 private:
  QTemporaryDir programFolder_;
  std::unique_ptr<brillora::BrilloraApp> app_;
};
