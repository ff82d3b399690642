#pragma once

#include <QWidget>

#include "params/stone_parameters.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTabWidget;

namespace brillora {

class FocusWatch;
class TNTrackBar;

// The parameters window: material lists, size, weight and heights, and the
// refractive index. It shows the state of the application's stone parameters
// and forwards every user action to them.
class ParametersWindow : public QWidget, private StoneParametersListener {
  Q_OBJECT

 public:
  ParametersWindow(StoneParameters& parameters, QWidget* parent = nullptr);
  ~ParametersWindow() override;

  StoneParameters& Parameters() { return parameters_; }
  // The measuring segment is shown and draggable only on the first page.
  bool FirstPageActive() const;

 signals:
  // The picture must be traced again (the refractive index may have changed).
  void pictureStale();
  // The picture must be drawn again (the segment appeared, moved or vanished).
  void pictureRepaint();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void ControlsChanged() override;
  void WeightComputed() override;
  void RefractiveIndexApplied() override;

  QWidget* MakeWeightPage();
  QWidget* MakeResultPanel(QWidget* page);
  QWidget* MakeOpticPage();
  QComboBox* MakeBox(QWidget* page, const QString& name, StoneParameters::Box box, QColor background);
  void UserEntered(QWidget* control, Qt::FocusReason reason);
  void ShowState();

  StoneParameters& parameters_;
  FocusWatch* focusWatch_ = nullptr;
  QTabWidget* pages_ = nullptr;
  QMenu* popup_ = nullptr;
  QComboBox* sgBox_ = nullptr;
  QComboBox* riBox_ = nullptr;
  QLineEdit* size_ = nullptr;
  QLabel* segmentLabel_ = nullptr;
  QLabel* wl_ = nullptr;
  QLabel* ch_ = nullptr;
  QLabel* ph_ = nullptr;
  QLabel* th_ = nullptr;
  QLabel* riLabel_ = nullptr;
  TNTrackBar* riBar_ = nullptr;
  QCheckBox* custom_ = nullptr;
  QDoubleSpinBox* dispersion_ = nullptr;
};

}  // namespace brillora
