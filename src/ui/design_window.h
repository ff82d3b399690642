#pragma once

#include <QDir>
#include <QMainWindow>
#include <QStringList>
#include <memory>
#include <utility>
#include <vector>

#include "model/design_state.h"
#include "model/editor_observer.h"
#include "model/step_editor.h"
#include "ui/design_menu.h"
#include "view/picture_window.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFileDialog;
class QLabel;
class QLayout;
class QTabBar;
class QToolButton;

namespace brillora {

class AboutWindow;
class FocusWatch;
class ParametersWindow;
class PictureWindow;
class SoundPlayer;
class StoneParameters;
class TNTrackBar;

// The windows the design window hands commands to.
struct DesignWindowPeers {
  PictureWindow& picture;
  ParametersWindow& parameters;
  StoneParameters& stoneParameters;
};

// The design window: symmetry, the crown and pavilion step controls, the main
// menu and the step menu. It owns the step editor, and with it the design
// state: the controls show the editor's control state and hand every user
// action to the editor's rules.
class DesignWindow : public QMainWindow, public PictureSource, private EditorObserver {
  Q_OBJECT

 public:
  DesignWindow(DesignWindowPeers peers, QDir programFolder, QWidget* parent = nullptr);
  ~DesignWindow() override;

  // The about and light map windows are made after this one.
  void AttachLaterWindows(AboutWindow* about, QWidget* lightMap);

  // Opens the design named by the first argument, or makes the default design.
  void Start(const QStringList& arguments);

  // Reads a design file as the open dialog, a drop or the command line do; an
  // unreadable file is reported and keeps the current design.
  bool OpenDesign(const QString& file);
  // Writes the design; a failure is reported naming the file and the reason.
  bool SaveDesign(const QString& file);
  // Asks whether a changed design is to be saved before the program ends:
  // false keeps the program open (Cancel, or a save that failed or was
  // cancelled).
  bool ConfirmClose();

  const DesignState& State() const { return editor_ ? editor_->State() : noDesign_; }
  // The editor exists once the first design is installed.
  const StepEditor* Editor() const { return editor_.get(); }
  // A double click in the picture on a facet of that step of the construction order.
  void SelectFacetStep(int step) override;
  // The menu switches and the selected step, as the renderers read them.
  PictureSettings CurrentSettings() const override;
  const DesignMenu& Menu() const { return menu_; }
  const StepMenu& Steps() const { return stepMenu_; }
  SoundPlayer& Player() { return *player_; }
  QFileDialog& OpenDialog() { return *openDialog_; }
  QFileDialog& SaveDialog() { return *saveDialog_; }
  // The number of reflections the renderers use: the Tag of "N of Reflections".
  int ReflectionCount() const;
  QString ManualFile() const;

  void Sound(const QString& name);

  // Every animation item loses its check mark, which stops a running animation.
  void StopAnimations();

 signals:
  // A rebuild of the stone ended.
  void stoneRebuilt();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // The control set, one group at a time, top to bottom.
  QWidget* MakeControls();
  QWidget* MakeSymmetryPanel(QWidget* parent);
  QLayout* MakeSideTabs(QWidget* parent);
  QWidget* MakeSidePage(QWidget* parent);
  QLayout* MakeMaxSlope(QWidget* parent);
  QWidget* MakeStepTabs(QWidget* parent);
  QWidget* MakeStepPage(QWidget* parent);
  QWidget* MakeDataTabs(QWidget* parent);
  QWidget* MakeDataPage(QWidget* parent);
  void WatchFocus();
  void ConnectMenu();
  bool InstallDesign(const Design& design);
  // Shows the editor's controls; the widgets start as the controls are designed.
  void ShowControls();
  void ShowControls(const EditorControls& controls);
  void ConnectControls();
  // Runs one user action on the editor, then shows the controls it left.
  template <typename Action>
  void Forward(Action action);

  // What the editor asks of the windows.
  void PictureStale() override;
  void PlaySound(std::string_view name) override;
  void StoneRebuilt() override;
  bool PictureShowsCrown() const override;
  void TurnStoneOver() override;

  void Save1Click();
  // Runs the save dialog; true when the design was written.
  bool SaveWithDialog();
  // The caption, marked while the design differs from the one opened or saved.
  void ShowCaption();
  // A bar or spin edit held down: its edits are one step of the history.
  bool WatchDrag(QObject* watched, QEvent* event);
  void ConnectHistory();
  void ConnectExports();
  bool OpenGemCadDesign(const QString& file);
  void Open1Click();
  void ReflectionsClick(QAction* item);
  void AnimationClick(QAction* item, bool checked);
  void Help1Click();

  PictureWindow& picture_;
  ParametersWindow& parametersWindow_;
  StoneParameters& parameters_;
  AboutWindow* about_ = nullptr;
  QWidget* lightMap_ = nullptr;
  QDir programFolder_;

  DesignState noDesign_;  // shown before the first design is installed
  QString caption_ = "  Brillora.";
  QString shownCaption_;
  bool closeConfirmed_ = false;
  std::unique_ptr<StepEditor> editor_;
  DesignMenu menu_;
  StepMenu stepMenu_;
  std::unique_ptr<SoundPlayer> player_;
  std::unique_ptr<QFileDialog> openDialog_;
  std::unique_ptr<QFileDialog> saveDialog_;
  FocusWatch* focusWatch_ = nullptr;
  std::vector<std::pair<QWidget*, Control>> focusControls_;

  QWidget* panel3_ = nullptr;
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

}  // namespace brillora
