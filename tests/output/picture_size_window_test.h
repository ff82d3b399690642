#pragma once

#include <QObject>

class PictureSizeWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void controlsAsTheyOpen();
  void extensionFollowsTheFilter();
  void enterCopiesToTheClipboard();
  void escapeExportsNothing();
  void saveDialogKeepsItsKeys();
  void writeErrorNamesTheFileAndKeepsTheWindow();
  void cancelLeavesTheOldFile();
  void largestPictureInBoundedMemory();
  void menuItemsOpenTheWindow();
  void sizesOutsideTheRangeAreRefused();
};
