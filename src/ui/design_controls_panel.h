#pragma once

#include <QKeySequence>
#include <QList>
#include <QWidget>
#include <utility>
#include <vector>

#include "model/editor_controls.h"
#include "ui/design_menu.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLayout;
class QTabBar;
class QToolButton;

namespace brillora {

class FocusWatch;
class StepEditor;
class TNTrackBar;

// The design window's controls: symmetry, the crown and pavilion tabs with
// the step controls, the step tabs' menu. They show the step editor's control
// state and hand every user action to the editor's rules.
class DesignControlsPanel : public QWidget {
  Q_OBJECT

 public:
  explicit DesignControlsPanel(QWidget* parent);

  // The editor exists once the first design is installed; until then the
  // widgets show the controls as designed and every action does nothing.
  void Attach(StepEditor& editor);
  // The editor is going: every action does nothing from now on.
  void Detach();
  // A fixed stone is shown: the line about it and the side switch instead of
  // the editing controls, which come back with the next Attach.
  void ShowFixedStone(const QString& line);
  // The keys of undo and redo, which the number fields leave to the menu.
  void SetHistoryKeys(QList<QKeySequence> keys) { historyKeys_ = std::move(keys); }

  const StepMenu& Steps() const { return stepMenu_; }

  // Shows the editor's controls as its rules left them.
  void Show();
  // Runs an action on the editor, then shows the controls it left. A number
  // being typed counts as entered first.
  template <typename Action>
  void Forward(Action action);
  // Forwards an action that may add a step; one refused because the side is
  // full says so instead of doing nothing.
  void ForwardAddingStep(bool (*add)(StepEditor& editor));

 signals:
  // The controls show the editor's state anew.
  void shown();
  // The side switch was pressed while a fixed stone shows.
  void flipRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void TellSideIsFull();
  // The control set, one group at a time, top to bottom.
  QWidget* MakeSymmetryPanel();
  QLayout* MakeSideTabs();
  QWidget* MakeSidePage();
  QLayout* MakeMaxSlope(QWidget* parent);
  QWidget* MakeStepTabs(QWidget* parent);
  QWidget* MakeStepPage(QWidget* parent);
  QWidget* MakeDataTabs(QWidget* parent);
  QWidget* MakeDataPage(QWidget* parent);
  QLabel* MakeValueLabel(QWidget* parent, const QString& name, const QString& widest);
  void FitValueLabels();
  void WatchFocus();
  void ConnectControls();
  void ConnectHistory();
  void ShowControls(const EditorControls& controls);
  // A bar or spin edit held down: its edits are one step of the history.
  bool WatchDrag(QObject* watched, QEvent* event);
  // Typing a number rebuilds the stone at every key, and the history records
  // one step when the number is entered (Enter, or the focus leaving).
  void BeginTyping(QDoubleSpinBox* spin);
  void TypeInto(QDoubleSpinBox* spin, double value);
  void EndTyping();

  StepEditor* editor_ = nullptr;
  StepMenu stepMenu_;
  QList<QKeySequence> historyKeys_;
  FocusWatch* focusWatch_ = nullptr;
  std::vector<std::pair<QWidget*, Control>> focusControls_;
  std::vector<std::pair<QLabel*, QString>> valueLabels_;  // with the widest text each shows
  QDoubleSpinBox* typing_ = nullptr;  // the number field whose typed entry is not yet entered

  void ShowEditing(bool editing);

  QWidget* panel3_ = nullptr;
  QWidget* sidePage_ = nullptr;
  QLabel* fixedLine_ = nullptr;
  bool showsFixedStone_ = false;
  QComboBox* symBox_ = nullptr;
  QLabel* gearLabel_ = nullptr;
  QComboBox* splitBox_ = nullptr;
  QComboBox* shiftBox_ = nullptr;
  QLabel* shiftLabel_ = nullptr;
  QLabel* facetAngleLabel_ = nullptr;
  QDoubleSpinBox* slopeSpin_ = nullptr;
  TNTrackBar* slopeBar_ = nullptr;
  QCheckBox* autoBox_ = nullptr;
  QLabel* positLabel_ = nullptr;
  TNTrackBar* positBar_ = nullptr;
  QDoubleSpinBox* maxSlopeSpin_ = nullptr;
  TNTrackBar* maxSlopeBar_ = nullptr;
  QTabBar* sideTabs_ = nullptr;
  QToolButton* crownButton_ = nullptr;
  QTabBar* stepTabs_ = nullptr;
  QTabBar* dataTabs_ = nullptr;
  QLabel* facetAngle2Label_ = nullptr;
  QLabel* distLabel_ = nullptr;
};

template <typename Action>
void DesignControlsPanel::Forward(Action action) {
  if (editor_ == nullptr) return;
  EndTyping();
  action(*editor_);
  Show();
}

}  // namespace brillora
