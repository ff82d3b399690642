#pragma once

#include <QDir>
#include <QMainWindow>
#include <QStringList>
#include <memory>

#include "model/design_state.h"
#include "ui/design_menu.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFileDialog;
class QLabel;
class QTabBar;
class QToolButton;

namespace brillora {

class AboutWindow;
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
// menu and the step menu. It owns the design state.
class DesignWindow : public QMainWindow {
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

  const DesignState& State() const { return state_; }
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

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  QWidget* MakeControls();
  void ConnectMenu();
  void InstallDesign(Design design);
  void RefreshViewAndWeight();
  void ShowDesign();

  void Save1Click();
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

  DesignState state_;
  DesignMenu menu_;
  StepMenu stepMenu_;
  std::unique_ptr<SoundPlayer> player_;
  std::unique_ptr<QFileDialog> openDialog_;
  std::unique_ptr<QFileDialog> saveDialog_;

  QComboBox* symBox_ = nullptr;
  QLabel* gearLabel_ = nullptr;
  QTabBar* sideTabs_ = nullptr;
  QTabBar* stepTabs_ = nullptr;
  QTabBar* dataTabs_ = nullptr;
};

}  // namespace brillora
