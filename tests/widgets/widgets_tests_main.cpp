#include <QApplication>
#include <QTest>

#include "file_dialog_test.h"
#include "kit_helpers_test.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  int failures = 0;
  {
    FileDialogTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  {
    KitHelpersTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  return failures == 0 ? 0 : 1;
}
