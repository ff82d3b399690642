#pragma once

#include <QObject>
#include <QTemporaryDir>
#include <memory>

#include "ui/brillora_app.h"

// The design and parameters windows show every label whole, and their
// titles, at the default font and at a 20-pixel one.
class DesignTextsTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void designWindowLabelsAndTitleFit();
  void parametersWindowLabelsAndTitleFit();

 private:
  QTemporaryDir programFolder_;
  std::unique_ptr<brillora::BrilloraApp> app_;
};
