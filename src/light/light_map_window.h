#pragma once

#include <QDir>
#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>

#include "light/light_map_controls.h"
#include "light/light_map_painter.h"
#include "trace/screen_polygon.h"

class QColorDialog;
class QComboBox;
class QFileDialog;
class QLabel;
class QMenu;
class QPushButton;
class QSlider;
class QSpinBox;
class QTabWidget;
class QToolButton;

namespace brillora {

// The light map window: edits the surroundings of the stone and shows where the
// light of the picture window's polygons comes from. A thin view over the
// light map's rules and the illumination model it edits; it exists for the
// whole run, and closing it only hides it.
class LightMapWindow : public QWidget {
  Q_OBJECT

 public:
  // `polygons` are the picture window's, for the spots.
  LightMapWindow(IlluminationModel& model, const ArrayOfFOS& polygons, QDir programFolder, QWidget* parent = nullptr);
  ~LightMapWindow() override;

  QFileDialog& OpenPictureDialog() { return *openPictureDialog_; }
  QColorDialog& ColorDialog() { return *colorDialog_; }
  QTimer& Timer1() { return timer1_; }
  // The display as it is drawn now, at its client size.
  QImage DisplayPicture();

  // The picture window's polygons or the surroundings changed: the display
  // follows while the window shows.
  void PolygonsChanged();

  // Loads a picture of the surroundings as the open dialog and a drop do.
  void LoadEnvPicture(const QString& file, PictureSide side);

 signals:
  // The close box was used: the window hides.
  void closed();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void MakeControls(const QDir& programFolder);
  QWidget* MakeModeBar(QWidget* parent);
  QWidget* MakeZonesPage();
  QWidget* MakeFrontPage();
  QWidget* MakeBackPage();
  // "Lamps" and "ASET" at the end of a Load menu, named after it.
  void AddMadeSurroundings(QMenu* menu, const QString& suffix);
  void Connect();
  // Wide enough for the caption in the application's font.
  void FitCaption();
  // Shows the controls the rules left.
  void ShowControls();

  void SURButtonClick(int tag);
  void ZoneSpinChanged(int which, int value);
  void ZoneTrackChanged(int which, int position);
  void HeadBodyButtonClick(QToolButton* sender);
  void LoadPicturefromFile1Click();
  void GetPicturefromscreen1Click();
  // "Lamps" and "ASET" of the Load menus: surroundings made in code.
  void LoadLampsClick();
  void LoadAsetClick();
  void Timer1Timer();
  void ClearFButtonClick(PictureSide side);
  void PaintRays();
  void PaintIntensityLaw();
  void DisplayMouse(QMouseEvent* event);
  bool FrontPageActive() const;
  void Turned();

  LightMapEditor editor_;
  const ArrayOfFOS& polygons_;
  LightMapPainter painter_;
  QTimer timer1_;
  std::unique_ptr<QFileDialog> openPictureDialog_;
  std::unique_ptr<QColorDialog> colorDialog_;
  int clientWidth_ = 0;  // at creation, and the least
  int mapLastX_ = 0;
  int mapLastY_ = 0;

  std::array<QToolButton*, 4> modeButtons_{};
  QTabWidget* pageControl_ = nullptr;
  QWidget* raysPage_ = nullptr;
  QWidget* frontPage_ = nullptr;
  QWidget* backPage_ = nullptr;
  std::array<QSpinBox*, 3> zoneSpins_{};
  std::array<QSlider*, 3> zoneTracks_{};
  QToolButton* headButton_ = nullptr;
  QToolButton* bodyButton_ = nullptr;
  QComboBox* comboBox1_ = nullptr;
  QWidget* paintBox1_ = nullptr;
  QLabel* label1_ = nullptr;
  QSlider* bodyTrackBar_ = nullptr;
  QLabel* label2_ = nullptr;
  QSlider* trackBarBGC_ = nullptr;
  QWidget* paintBoxRays_ = nullptr;
  QMenu* popupMenu1_ = nullptr;
  QMenu* popupMenu2_ = nullptr;
};

}  // namespace brillora
