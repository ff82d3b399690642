#pragma once

#include <QObject>

class SheetPainterTest : public QObject {
  Q_OBJECT

 private slots:
  void outlinesOnlyWithEdges();
  void previewHasItsFrameAndBothHalves();
  void stoneStaysRoundOnUnequalDots();
};
