#include <QApplication>
#include <QTest>

#include "app_windows_test.h"
#include "design_controls_test.h"
#include "parameters_window_test.h"
#include "picture_window_test.h"
#include "window_placement_test.h"
#include "design_texts_test.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("Brillora");
  int failures = 0;
  {
    AppWindowsTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  {
    DesignControlsTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  {
    ParametersWindowTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  {
    PictureWindowTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  {
    WindowPlacementTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  {
    DesignTextsTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  return failures == 0 ? 0 : 1;
}
