#include "light/light_map_window.h"

#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>

#include "io/env_picture_file.h"
#include "light/intensity_profile.h"
#include "light/made_surroundings.h"
#include "light/observer_icons.h"
#include "widgets/control_mirror.h"
#include "widgets/file_dialog.h"
#include "widgets/file_drop.h"

namespace brillora {

namespace {

constexpr qsizetype kLongestDroppedPicture = 257;
constexpr int kTimerInterval = 200;
// The screen rectangle of the live picture and where it goes in the front picture.
const QRect kGrabbed(16, 24, 640, 480);
const QRect kGrabbedInto(60, 100, 392, 312);

void ShowImage(QToolButton* button, int image) {
  button->setIcon(ObserverIcon(image));
  button->setProperty("ImageIndex", image);
}

}  // namespace

LightMapWindow::LightMapWindow(IlluminationModel& model, const ArrayOfFOS& polygons, QDir programFolder,
                               QWidget* parent)
    : QWidget(parent, Qt::Window),
      editor_(model),
      polygons_(polygons),
      openPictureDialog_(std::make_unique<FileDialog>(this, QFileDialog::AcceptOpen, "OpenPictureDialog")),
      colorDialog_(std::make_unique<QColorDialog>(this)) {
  setObjectName("LightMap");
  setWindowTitle("  The Map of Illumination");
  QFont font("Sans Serif");
  font.setPixelSize(11);
  setFont(font);

  MakeControls(programFolder);
  timer1_.setObjectName("Timer1");
  timer1_.setInterval(kTimerInterval);
  connect(&timer1_, &QTimer::timeout, this, &LightMapWindow::Timer1Timer);

  Connect();
  painter_.Project(editor_.Model().MapView());
  ShowControls();
}

LightMapWindow::~LightMapWindow() {
  timer1_.stop();
  setAcceptDrops(false);
}

void LightMapWindow::Connect() {
  for (std::size_t k = 0; k < 3; ++k) {
    const int which = static_cast<int>(k);
    connect(zoneSpins_[k], &QSpinBox::valueChanged, this, [this, which](int v) { ZoneSpinChanged(which, v); });
    connect(zoneTracks_[k], &QSlider::valueChanged, this, [this, which](int v) { ZoneTrackChanged(which, v); });
  }
  connect(headButton_, &QToolButton::clicked, this, [this] { HeadBodyButtonClick(headButton_); });
  connect(bodyButton_, &QToolButton::clicked, this, [this] { HeadBodyButtonClick(bodyButton_); });
  connect(bodyTrackBar_, &QSlider::valueChanged, this, [this](int v) {
    editor_.SetHeadAngle(v);
    HeadBodyButtonClick(nullptr);
  });
  connect(comboBox1_, &QComboBox::currentIndexChanged, this, [this](int law) {
    editor_.SetIntensityLaw(law);
    paintBox1_->update();
  });
  connect(trackBarBGC_, &QSlider::valueChanged, this, [this](int v) {
    editor_.SetBackgroundBrightness(v);
    ShowControls();
  });
  connect(pageControl_, &QTabWidget::currentChanged, this, [this] { Turned(); });
}

void LightMapWindow::ShowControls() {
  const LightMapControls& c = editor_.Controls();
  for (std::size_t tag = 0; tag < 4; ++tag) modeButtons_[tag]->setChecked(static_cast<int>(tag) == c.PressedMode);
  {
    // The active page stays active while it shows, and while no page shows.
    const QSignalBlocker quiet(pageControl_);
    QWidget* active = pageControl_->currentWidget();
    pageControl_->setTabVisible(pageControl_->indexOf(raysPage_), c.ZonesPageShown());
    pageControl_->setTabVisible(pageControl_->indexOf(frontPage_), c.PicturePagesShown());
    pageControl_->setTabVisible(pageControl_->indexOf(backPage_), c.PicturePagesShown());
    const bool anyShown = c.ZonesPageShown() || c.PicturePagesShown();
    if (!anyShown || pageControl_->isTabVisible(pageControl_->indexOf(active))) pageControl_->setCurrentWidget(active);
    pageControl_->setVisible(anyShown);
  }
  for (std::size_t k = 0; k < 3; ++k) {
    ShowValue(zoneSpins_[k], c.ZoneSpins[k].Minimum, c.ZoneSpins[k].Maximum, c.ZoneSpins[k].Value);
    ShowPosition(zoneTracks_[k], c.ZoneTracks[k].Minimum, c.ZoneTracks[k].Maximum, c.ZoneTracks[k].Value);
  }
  headButton_->setChecked(c.HeadDown);
  bodyButton_->setChecked(c.BodyDown);
  ShowImage(headButton_, c.HeadImage());
  ShowImage(bodyButton_, c.BodyImage());
  {
    const QSignalBlocker quiet(comboBox1_);
    comboBox1_->setCurrentIndex(c.IntensityLaw);
  }
  {
    const QSignalBlocker quiet(bodyTrackBar_);
    bodyTrackBar_->setValue(c.HeadAngle);
  }
  label1_->setText(QString::fromStdString(c.HeadLabel()));
  {
    const QSignalBlocker quiet(trackBarBGC_);
    trackBarBGC_->setValue(c.BackgroundBrightness);
  }
  label2_->setText(QString::fromStdString(c.BrightnessLabel()));
  setAcceptDrops(c.PressedMode == 3);
}

void LightMapWindow::SURButtonClick(int tag) {
  editor_.PressMode(tag);
  ShowControls();
  paintBoxRays_->update();
}

void LightMapWindow::ZoneSpinChanged(int which, int value) {
  editor_.SetZoneSpin(which, value);
  ShowControls();
  paintBoxRays_->update();
}

void LightMapWindow::ZoneTrackChanged(int which, int position) {
  editor_.MoveZoneTrack(which, position);
  ShowControls();
  paintBoxRays_->update();
}

void LightMapWindow::HeadBodyButtonClick(QToolButton* sender) {
  if (sender == headButton_) editor_.ClickHead();
  if (sender == bodyButton_) editor_.ClickBody();
  ShowControls();
  paintBox1_->update();
  paintBoxRays_->update();
}

void LightMapWindow::Turned() {
  painter_.Project(editor_.Model().MapView());
  paintBoxRays_->update();
}

void LightMapWindow::PolygonsChanged() {
  if (isVisible()) paintBoxRays_->update();
}

bool LightMapWindow::FrontPageActive() const { return pageControl_->currentWidget() == frontPage_; }

void LightMapWindow::LoadPicturefromFile1Click() {
  const PictureSide side = FrontPageActive() ? PictureSide::Front : PictureSide::Back;
  if (side == PictureSide::Front) timer1_.stop();
  if (openPictureDialog_->exec() != QDialog::Accepted || openPictureDialog_->selectedFiles().isEmpty()) return;
  LoadEnvPicture(openPictureDialog_->selectedFiles().first(), side);
}

void LightMapWindow::LoadEnvPicture(const QString& file, PictureSide side) {
  IlluminationModel& model = editor_.Model();
  RgbPicture picture;
  const EnvPictureLoad result = brillora::LoadEnvPicture(file.toStdString(), picture);
  if (result == EnvPictureLoad::Loaded) {
    model.SetPicture(side, picture.Pixels, picture.Width, picture.Height);
    paintBoxRays_->update();
    return;
  }
  if (result == EnvPictureLoad::Unreadable) {
    QMessageBox::information(this, "Brillora",
                             QString::fromUtf8(kInvalidGraphicFileFormat.data(),
                                               static_cast<qsizetype>(kInvalidGraphicFileFormat.size())));
  }
  // The old picture stays; only its weights are applied again.
  model.Masking(side, editor_.Controls().BodyDown);
  paintBoxRays_->update();
}

void LightMapWindow::LoadLampsClick() {
  timer1_.stop();
  UseLamps(editor_.Model());
  paintBoxRays_->update();
}

void LightMapWindow::LoadAsetClick() {
  timer1_.stop();
  UseAset(editor_.Model(), AsetHeadDegrees(editor_.Controls().HeadAngle));
  paintBoxRays_->update();
}

void LightMapWindow::GetPicturefromscreen1Click() {
  editor_.Model().FillPicture(PictureSide::Front, 0, 0, 0);
  paintBoxRays_->update();
  timer1_.start();
}

void LightMapWindow::Timer1Timer() {
  QScreen* screen = QGuiApplication::primaryScreen();
  QImage grabbed;
  if (screen != nullptr) {
    grabbed = screen->grabWindow(0, kGrabbed.x(), kGrabbed.y(), kGrabbed.width(), kGrabbed.height())
                  .toImage()
                  .convertToFormat(QImage::Format_RGB888);
  }
  std::vector<std::uint8_t> rgb;
  if (!grabbed.isNull()) {
    rgb.resize(static_cast<std::size_t>(grabbed.width()) * static_cast<std::size_t>(grabbed.height()) * 3);
    const std::size_t rowBytes = static_cast<std::size_t>(grabbed.width()) * 3;
    for (int y = 0; y < grabbed.height(); ++y)
      std::copy_n(grabbed.constScanLine(y), rowBytes, rgb.data() + static_cast<std::size_t>(y) * rowBytes);
  }
  editor_.Model().PastePicture(PictureSide::Front, rgb, grabbed.width(), grabbed.height(), kGrabbedInto.left(),
                               kGrabbedInto.top(), kGrabbedInto.left() + kGrabbedInto.width(),
                               kGrabbedInto.top() + kGrabbedInto.height());
  paintBoxRays_->update();
}

void LightMapWindow::ClearFButtonClick(PictureSide side) {
  if (colorDialog_->exec() != QDialog::Accepted) return;
  const QColor c = colorDialog_->currentColor();
  editor_.Model().FillPicture(side, static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                              static_cast<std::uint8_t>(c.blue()));
  paintBoxRays_->update();
}

void LightMapWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // The surroundings follow the pressed mode button, so that mode, source and
  // button agree whenever the window shows.
  editor_.Shown();
  ShowControls();
}

void LightMapWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  emit closed();
}

bool LightMapWindow::event(QEvent* event) {
  if (event->type() == QEvent::ApplicationFontChange) FitCaption();
  return QWidget::event(event);
}

void LightMapWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (editor_.Controls().PressedMode == 3) WelcomeFiles(event);
}

void LightMapWindow::dropEvent(QDropEvent* event) {
  if (editor_.Controls().PressedMode != 3) return;
  const std::optional<QString> file = TakeDroppedFile(event, kLongestDroppedPicture);
  if (!file) return;
  if (FrontPageActive()) {
    timer1_.stop();
    LoadEnvPicture(*file, PictureSide::Front);
  } else {
    LoadEnvPicture(*file, PictureSide::Back);
  }
}

QImage LightMapWindow::DisplayPicture() {
  if (painter_.Size() != paintBoxRays_->size()) painter_.Resize(paintBoxRays_->size());
  return painter_.Paint(editor_.Model(), polygons_, palette().color(QPalette::Button));
}

void LightMapWindow::PaintRays() {
  QPainter painter(paintBoxRays_);
  painter.drawImage(0, 0, DisplayPicture());
}

void LightMapWindow::PaintIntensityLaw() {
  const LightMapControls& c = editor_.Controls();
  QPainter painter(paintBox1_);
  painter.fillRect(QRect(0, 0, kProfileWidth, kProfileHeight), palette().color(QPalette::Button));
  painter.setPen(QColor(255, 0, 0));
  QPolygon curve;
  for (ScreenPoint p : IntensityLawCurve(c.IntensityLaw, c.HeadDown, c.HeadAngle)) curve << QPoint(p.X, p.Y);
  painter.drawPolyline(curve);
  painter.setPen(QColor(0, 0, 255));
  painter.drawLine(0, kProfileHeight, kProfileWidth, kProfileHeight);
  painter.drawLine(kProfileWidth / 2, kProfileHeight, kProfileWidth / 2, 0);
}

void LightMapWindow::DisplayMouse(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (event->type() == QEvent::MouseButtonPress) {
    mapLastX_ = at.x();
    mapLastY_ = at.y();
    return;
  }
  const bool left = event->buttons() & Qt::LeftButton;
  if (!left && !(event->buttons() & Qt::RightButton)) return;
  editor_.Model().TurnByMouse(mapLastX_, mapLastY_, at.x(), at.y(), paintBoxRays_->width(), !left);
  mapLastX_ = at.x();
  mapLastY_ = at.y();
  if (left) {
    Turned();
  } else {
    paintBoxRays_->update();
  }
}

bool LightMapWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == paintBoxRays_) {
    switch (event->type()) {
      case QEvent::Paint:
        PaintRays();
        return true;
      case QEvent::MouseButtonPress:
      case QEvent::MouseMove:
        DisplayMouse(static_cast<QMouseEvent*>(event));
        return true;
      default:
        break;
    }
  }
  if (watched == paintBox1_ && event->type() == QEvent::Paint) {
    PaintIntensityLaw();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace brillora
