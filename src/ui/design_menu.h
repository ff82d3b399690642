#pragma once

#include <QList>

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;
class QObject;
class QWidget;

namespace brillora {

// The items of the design window's main menu that the program reads or drives.
// Every item carries its name as object name and its variant as the "Tag"
// property.
struct DesignMenu {
  QAction* Data1 = nullptr;
  QAction* Image2 = nullptr;
  QAction* ImagetoClipboard1 = nullptr;
  QAction* Save1 = nullptr;
  QAction* Open1 = nullptr;
  QAction* Gallery1 = nullptr;  // "Gallery"
  QAction* SaveImagetoFile1 = nullptr;
  QAction* ImagetoClipboard2 = nullptr;
  QAction* ExportGemCad1 = nullptr;  // "Export GemCad Design"
  QAction* Export3D1 = nullptr;      // "Export 3D Model"
  QAction* Undo1 = nullptr;  // Ctrl+Z in every window
  QAction* Redo1 = nullptr;  // Ctrl+Shift+Z and Ctrl+Y in every window
  QMenu* Reflections = nullptr;  // its menu action carries the number of reflections in use
  QAction* SurfaceRefl = nullptr;
  QAction* Dispersion = nullptr;  // the picture traced at three lines, one per colour
  QActionGroup* reflectionGroup = nullptr;
  QAction* N11 = nullptr;
  QAction* Reflected = nullptr;
  QAction* N21 = nullptr;
  QList<QAction*> numbered;  // "1" .. "12"
  QAction* Edges = nullptr;
  QAction* AA = nullptr;
  QAction* Racetracking1 = nullptr;
  QList<QAction*> animations;  // Tracing, Polygons, JPG, BMP, GIF
  QAction* Weight1 = nullptr;
  QAction* LightPerformance1 = nullptr;
  QAction* Optimize1 = nullptr;
  QAction* Help1 = nullptr;
  QAction* About1 = nullptr;
};

// Fills `bar` with the main menu; the twelve numbered reflection items are made here too.
DesignMenu BuildDesignMenu(QMenuBar* bar);

// The "Tag" of a menu item.
int Tag(const QObject* item);

// The step menu of the step tabs: "Clear next Steps" and "New Step".
struct StepMenu {
  QMenu* menu = nullptr;
  QAction* Clearnext = nullptr;
  QAction* NewStep = nullptr;
};
StepMenu BuildStepMenu(QWidget* owner);

}  // namespace brillora
