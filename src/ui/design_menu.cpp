#include "ui/design_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace brillora {

namespace {

QAction* Item(QMenu* menu, const QString& name, const QString& text, int tag = 0) {
  QAction* action = menu->addAction(text);
  action->setObjectName(name);
  action->setProperty("Tag", tag);
  return action;
}

QAction* CheckItem(QMenu* menu, const QString& name, const QString& text, bool checked, int tag = 0) {
  QAction* action = Item(menu, name, text, tag);
  action->setCheckable(true);
  action->setChecked(checked);
  return action;
}

QMenu* SubMenu(QMenu* parent, const QString& name, const QString& text, int tag = 0) {
  QMenu* menu = parent->addMenu(text);
  menu->setObjectName(name);
  menu->menuAction()->setObjectName(name);
  menu->menuAction()->setProperty("Tag", tag);
  return menu;
}

}  // namespace

int Tag(const QObject* item) { return item->property("Tag").toInt(); }

DesignMenu BuildDesignMenu(QMenuBar* bar) {
  DesignMenu m;
  QMenu* print = bar->addMenu("Print");
  print->setObjectName("Print1");
  m.Data1 = Item(print, "Data1", "Data", 2);
  m.Image2 = Item(print, "Image2", "Image", 1);
  m.ImagetoClipboard1 = Item(print, "ImagetoClipboard1", "Image to Clipboard");

  QMenu* file = bar->addMenu("File");
  file->setObjectName("File1");
  m.Save1 = Item(file, "Save1", "Save Data");
  m.Open1 = Item(file, "Open1", "Open Data");
  m.Gallery1 = Item(file, "Gallery1", "Gallery");
  m.SaveImagetoFile1 = Item(file, "SaveImagetoFile1", "Save Image to File");
  m.ImagetoClipboard2 = Item(file, "ImagetoClipboard2", "Copy Image to Clipboard");

  m.ExportGemCad1 = Item(file, "ExportGemCad1", "Export GemCad Design");
  m.Export3D1 = Item(file, "Export3D1", "Export 3D Model");

  // Undo and redo answer their keys in every window of the program.
  file->addSeparator();
  m.Undo1 = Item(file, "Undo1", "Undo");
  m.Undo1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  m.Redo1 = Item(file, "Redo1", "Redo");
  m.Redo1->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  for (QAction* item : {m.Undo1, m.Redo1}) item->setShortcutContext(Qt::ApplicationShortcut);

  QMenu* view = bar->addMenu("View");
  view->setObjectName("View1");
  QMenu* image = SubMenu(view, "Image1", "Image");
  m.Reflections = SubMenu(image, "Reflections", "N of Reflections");
  m.SurfaceRefl = CheckItem(m.Reflections, "SurfaceRefl", "Surface Reflections", true);
  m.Reflections->addSeparator();
  m.reflectionGroup = new QActionGroup(m.Reflections);
  m.reflectionGroup->setObjectName("ReflectionGroup");
  m.reflectionGroup->setExclusive(true);
  m.N11 = CheckItem(m.Reflections, "N11", "Non-transparent", true, 0);
  m.Reflected = CheckItem(m.Reflections, "Reflected", "Reflected", false, 1);
  m.N21 = CheckItem(m.Reflections, "N21", "Transparent", false, 1);
  for (QAction* item : {m.N11, m.Reflected, m.N21}) m.reflectionGroup->addAction(item);
  for (int i = 1; i <= 12; ++i) {
    QAction* item = CheckItem(m.Reflections, QString("Reflection%1").arg(i), QString::number(i), false, i + 1);
    m.reflectionGroup->addAction(item);
    m.numbered << item;
  }
  m.Reflections->addSeparator();
  m.Dispersion = CheckItem(m.Reflections, "Dispersion", "Dispersion", false);
  m.Edges = CheckItem(image, "Edges", "Edges", true);
  m.AA = CheckItem(image, "AA", "Anti-Aliasing", true);
  image->addSeparator();
  m.Racetracking1 = CheckItem(image, "Racetracking1", "Ray Tracing", false, 3);
  image->addSeparator();
  QMenu* animation = SubMenu(image, "Animation1", "Animation");
  m.animations << CheckItem(animation, "AnimationTrc", "Tracing", false, 0)
               << CheckItem(animation, "AnimationPol", "Polygons Animation", false, 1)
               << CheckItem(animation, "AnimationJPG", "JPG Animation", false, 2)
               << CheckItem(animation, "AnimationBMP", "BMP Animation", false, 3)
               << CheckItem(animation, "AnimationGIF", "GIF Animation", false, 4);
  m.Weight1 = Item(view, "Weight1", "Parameters");
  m.LightPerformance1 = Item(view, "LightPerformance1", "Light Performance");
  m.Optimize1 = Item(view, "Optimize1", "Optimize");

  m.Help1 = bar->addAction("Help");
  m.Help1->setObjectName("Help1");
  m.Help1->setProperty("Tag", 0);
  m.Help1->setShortcut(QKeySequence(Qt::Key_F1));
  m.About1 = bar->addAction("&About");
  m.About1->setObjectName("About1");
  m.About1->setProperty("Tag", 0);
  return m;
}

StepMenu BuildStepMenu(QWidget* owner) {
  StepMenu s;
  s.menu = new QMenu(owner);
  s.menu->setObjectName("PopupStepMenu");
  s.Clearnext = Item(s.menu, "Clearnext", "Clear next Steps");
  s.NewStep = Item(s.menu, "NewStep", "New Step");
  return s;
}

}  // namespace brillora
