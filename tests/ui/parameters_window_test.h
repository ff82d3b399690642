#pragma once

#include <QObject>
#include <memory>

#include "params/parameters_window.h"
#include "params/stone_parameters.h"

// The parameters window driven through its controls.
class ParametersWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void startsWithDiamond();
  void corundumSelectsInBothLists();
  void customModeKeepsTheBarIndex();
  void listFocusLeavesCustomMode();
  void sortingOrders();
  void typedTextThatIsNoNumberRecomputesNothing();
  void sizeEdit();
  void loadedIndex();
  void focusComingBackKeepsTheLoadedIndex();
  void tabbingMovesBetweenListAndBar();
  void labelsShowTheirWholeText();

 private:
  std::unique_ptr<brillora::StoneParameters> params_;
  std::unique_ptr<brillora::ParametersWindow> window_;
};
