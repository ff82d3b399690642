#pragma once

#include <QObject>

// The kit's small helpers: the file drop, the wait cursor, the title width,
// the control mirror's quiet showing.
class KitHelpersTest : public QObject {
  Q_OBJECT

 private slots:
  void dropTakesTheFirstFileCut();
  void waitCursorLastsItsScope();
  void titleWidthGrowsWithTheTitle();
  void shownValuesDoNotComeBackAsEdits();
};
