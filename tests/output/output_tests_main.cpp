#include <QApplication>
#include <QTest>

#include "alignment_window_test.h"
#include "picture_size_window_test.h"
#include "sheet_painter_test.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("Brillora");
  int failures = 0;
  {
    PictureSizeWindowTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  {
    SheetPainterTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  {
    AlignmentWindowTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  return failures == 0 ? 0 : 1;
}
