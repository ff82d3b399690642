#pragma once

#include <QDir>
#include <QMainWindow>
#include <QStringList>
#include <memory>

#include "model/design_state.h"
#include "model/editor_observer.h"
#include "ui/design_document.h"
#include "ui/design_menu.h"
#include "view/picture_settings.h"
#include "widgets/file_dialog.h"

namespace brillora {

class AboutWindow;
class DesignControlsPanel;
class ParametersWindow;
class PictureWindow;
class SoundPlayer;
class StepEditor;
class StoneParameters;

// The windows the design window hands commands to.
struct DesignWindowPeers {
  PictureWindow& picture;
  ParametersWindow& parameters;
  StoneParameters& stoneParameters;
};

// The design window: the controls panel over the design document, with the
// main menu. The document owns the step editor, and with it the design state
// and its history; the panel shows the editor's controls and hands every user
// action to the editor's rules; the window asks the document's questions.
class DesignWindow : public QMainWindow, private EditorObserver, private DocumentDesk {
  Q_OBJECT

 public:
  DesignWindow(DesignWindowPeers peers, QDir programFolder, QWidget* parent = nullptr);
  ~DesignWindow() override;

  // The about and light map windows are made after this one.
  void AttachLaterWindows(AboutWindow* about, QWidget* lightMap);

  // Opens the design named by the first argument, or makes the default design.
  void Start(const QStringList& arguments);

  // Opens a design file as the open dialog, a drop or the command line do:
  // a changed design is offered for saving first; an unreadable file is
  // reported and keeps the current design.
  bool OpenDesign(const QString& file);
  // Writes the design; a failure is reported naming the file and the reason.
  bool SaveDesign(const QString& file);
  // Asks whether a changed design is to be saved before the program ends:
  // false keeps the program open (Cancel, or a save that failed or was
  // cancelled).
  bool ConfirmClose();
  // Puts an optimizer's result into the design as one edit that undo takes
  // back; false when it does not fit the design's steps.
  bool ApplyDesign(const Design& design);

  const DesignState& State() const { return document_.State(); }
  // The GemCad design shown as a fixed stone, if one is.
  const FixedStone* Fixed() const { return document_.Fixed(); }
  // The editor exists once the first design is installed.
  const StepEditor* Editor() const { return document_.Editor(); }
  // A double click in the picture on a facet of that step of the construction order.
  void SelectFacetStep(int step);
  // The menu switches, the selected step and the refractive index, as the
  // picture is to show them (pictureSettingsChanged).
  PictureSettings CurrentSettings() const;
  // The picture shows the crown (or the pavilion) now: the side switch turns
  // the stone over only when the picture shows the side being left.
  void SetPictureShowsCrown(bool crown);
  const DesignMenu& Menu() const { return menu_; }
  const StepMenu& Steps() const;
  SoundPlayer& Player() { return *player_; }
  FileDialog& OpenDialog() { return *openDialog_; }
  FileDialog& SaveDialog() { return *saveDialog_; }
  // The number of reflections the renderers use: the Tag of "N of Reflections".
  int ReflectionCount() const;
  QString ManualFile() const;

  void Sound(const QString& name);

  // Every animation item loses its check mark, which stops a running animation.
  void StopAnimations();

 signals:
  // A rebuild of the stone ended.
  void stoneRebuilt();
  // A menu switch or the selected step may have changed what CurrentSettings gives.
  void pictureSettingsChanged();

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void ConnectMenu();
  void ConnectHistory();
  void ConnectExports();
  // Shows the document: the controls, the caption and what undo and redo can do.
  void ShowDocument();
  // The panel shows the document's editor, which is told the picture's side.
  void AttachEditor();
  void ShowCaption();
  // The window as large as its controls, its menu and its caption need.
  void FitSize();

  // What the editor asks of the windows. The picture learns that it is stale
  // from the stone it is given.
  void PlaySound(std::string_view name) override;
  void StoneRebuilt() override;
  void TurnStoneOver() override;

  // What the document asks of the user and the windows.
  Unsaved AskToSaveChanges() override;
  QString AskFileToSave() override;
  void Tell(const QString& message) override;
  void ReadingDesign() override;

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
  QString shownCaption_;
  bool pictureShowsCrown_ = true;  // for an editor yet to be made
  int selectedTier_ = -1;          // of a fixed stone, chosen in the picture

  DesignDocument document_;
  DesignMenu menu_;
  DesignControlsPanel* panel_ = nullptr;
  std::unique_ptr<SoundPlayer> player_;
  std::unique_ptr<FileDialog> openDialog_;
  std::unique_ptr<FileDialog> saveDialog_;
};

}  // namespace brillora
