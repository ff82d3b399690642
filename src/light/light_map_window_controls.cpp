#include "light/light_map_window.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "widgets/nt_track_bar.h"

#include "widgets/named.h"

// The light map window's controls as they are laid out, and the clicks that
// only open a menu or a dialog.
namespace brillora {

namespace {

constexpr int kClientWidth = 389;
constexpr int kClientHeight = 260;
constexpr int kPanel4Width = 129;
constexpr int kPanel2Height = 25;

const QStringList kPictureFilters = {"All (*.jpg;*.bmp;*.gif) (*.jpg *.bmp *.gif)", "JPEG Image File (*.jpg)",
                                     "Bitmaps (*.bmp)", "CompuServe GIF Image (*.gif)"};

QToolButton* ToolButton(QWidget* parent, const QString& name, const QString& text, const QString& hint) {
  auto* button = Named(new QToolButton(parent), name);
  button->setText(text);
  button->setToolTip(hint);
  return button;
}

// The program's track bar: no band from the minimum to the thumb.
QSlider* TrackBar(QWidget* parent, const QString& name, int minimum, int maximum, int position) {
  auto* bar = Named(new TNTrackBar(parent), name);
  bar->setRange(minimum, maximum);
  bar->setValue(position);
  return bar;
}

QSpinBox* ZoneSpin(QWidget* parent, const QString& name, const RangedValue& value, const QString& colours) {
  auto* spin = Named(new QSpinBox(parent), name);
  spin->setRange(value.Minimum, value.Maximum);
  spin->setValue(value.Value);
  // A typed angle counts once Enter is pressed (or the edit is left).
  spin->setKeyboardTracking(false);
  spin->setStyleSheet("QSpinBox { " + colours + " }");
  return spin;
}

}  // namespace

void LightMapWindow::MakeControls(const QDir& programFolder) {
  auto* panel4 = Named(new QWidget(this), "Panel4");
  auto* left = new QVBoxLayout(panel4);
  left->setContentsMargins(0, 0, 0, 0);
  left->setSpacing(2);
  left->addWidget(MakeModeBar(panel4));
  pageControl_ = Named(new QTabWidget(panel4), "PageControl");
  raysPage_ = MakeZonesPage();
  frontPage_ = MakeFrontPage();
  backPage_ = MakeBackPage();
  pageControl_->addTab(raysPage_, "Zones");
  pageControl_->addTab(frontPage_, "Front");
  pageControl_->addTab(backPage_, "Back");
  pageControl_->setCurrentWidget(frontPage_);
  left->addWidget(pageControl_, 1);
  left->addStretch();  // the mode bar stays on top while no page shows

  auto* panel1 = Named(new QWidget(this), "Panel1");
  auto* right = new QVBoxLayout(panel1);
  right->setContentsMargins(0, 0, 0, 0);
  right->setSpacing(0);
  paintBoxRays_ = Named(new QWidget(panel1), "PaintBoxRays");
  paintBoxRays_->setAttribute(Qt::WA_OpaquePaintEvent);
  paintBoxRays_->installEventFilter(this);
  right->addWidget(paintBoxRays_, 1);
  auto* panel2 = Named(new QWidget(panel1), "Panel2");
  panel2->setFixedHeight(kPanel2Height);
  auto* bottom = new QHBoxLayout(panel2);
  bottom->setContentsMargins(2, 1, 2, 1);
  auto* button1 = Named(new QPushButton("Reset", panel2), "Button1");
  button1->setToolTip("Reset to initial Position");
  bottom->addStretch();
  bottom->addWidget(button1);
  right->addWidget(panel2);
  connect(button1, &QPushButton::clicked, this, [this] {
    editor_.Reset();
    Turned();
  });

  // The labels keep room for their longest texts, and the left panel is as
  // wide as its pages need then, so that no text is cut as the bars move.
  LightMapControls longest = editor_.Controls();
  longest.HeadAngle = bodyTrackBar_->maximum();
  longest.BackgroundBrightness = trackBarBGC_->maximum();
  label1_->setMinimumWidth(label1_->fontMetrics().horizontalAdvance(QString::fromStdString(longest.HeadLabel())));
  label2_->setMinimumWidth(
      label2_->fontMetrics().horizontalAdvance(QString::fromStdString(longest.BrightnessLabel())));
  panel4->setFixedWidth(std::max(kPanel4Width, panel4->minimumSizeHint().width()));
  // A wider panel widens the window: the display keeps its first size.
  clientWidth_ = kClientWidth + panel4->width() - kPanel4Width;

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(panel4);
  layout->addWidget(panel1, 1);
  resize(clientWidth_, kClientHeight);
  // The smallest frame of 397 x 287 holds this client area.
  setMinimumSize(clientWidth_, kClientHeight);
  FitCaption();

  openPictureDialog_->setNameFilters(kPictureFilters);
  // The dialog takes the file name relative to its folder, which must exist.
  openPictureDialog_->setDirectory(programFolder.absolutePath());
  openPictureDialog_->selectFile("Texture/Pyramids.jpg");
  colorDialog_->setObjectName("ColorDialog");
}

void LightMapWindow::FitCaption() {
  // The desktop draws the caption in the application's font, not in this
  // window's smaller one: room for the title, and for the icon and the three
  // buttons, each about as wide as the caption is high.
  const QFontMetrics metrics(QApplication::font());
  const int caption = metrics.horizontalAdvance(windowTitle()) + 5 * (metrics.height() + 8);
  setMinimumWidth(std::max(clientWidth_, caption));
}

QWidget* LightMapWindow::MakeModeBar(QWidget* parent) {
  auto* bar = Named(new QWidget(parent), "ToolBar1");
  auto* row = new QHBoxLayout(bar);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(1);
  auto* group = new QButtonGroup(bar);
  group->setExclusive(true);
  const char* names[] = {"BWButton", "RBButton", "UPButton", "CMButton"};
  const char* texts[] = {"BW", "RB", "UP", "CM"};
  for (int tag = 0; tag < 4; ++tag) {
    QToolButton* button = ToolButton(bar, names[tag], texts[tag], "");
    button->setCheckable(true);
    button->setProperty("Tag", tag);
    group->addButton(button, tag);
    row->addWidget(button);
    modeButtons_[static_cast<std::size_t>(tag)] = button;
    connect(button, &QToolButton::clicked, this, [this, tag] { SURButtonClick(tag); });
  }
  row->addStretch();
  return bar;
}

QWidget* LightMapWindow::MakeZonesPage() {
  auto* page = Named(new QWidget, "RaysPage");
  auto* column = new QVBoxLayout(page);
  column->setContentsMargins(2, 2, 2, 2);
  column->setSpacing(1);
  const auto& spins = editor_.Controls().ZoneSpins;
  const auto& tracks = editor_.Controls().ZoneTracks;
  const QString colours[] = {"background-color: red; color: white;", "background-color: lime; color: black;",
                             "background-color: blue; color: yellow;"};
  for (std::size_t k = 0; k < 3; ++k) {
    const QString n = QString::number(k + 1);
    zoneSpins_[k] = ZoneSpin(page, "RxSpinEdit" + n, spins[k], colours[k]);
    zoneTracks_[k] = TrackBar(page, "TrackBarUP" + n, tracks[k].Minimum, tracks[k].Maximum, tracks[k].Value);
    column->addWidget(zoneSpins_[k]);
    column->addWidget(zoneTracks_[k]);
  }
  column->addStretch();
  return page;
}

QWidget* LightMapWindow::MakeFrontPage() {
  auto* page = Named(new QWidget, "FrontPage");
  auto* column = new QVBoxLayout(page);
  column->setContentsMargins(2, 2, 2, 2);
  column->setSpacing(2);
  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(1);
  QToolButton* clear = ToolButton(page, "ClearFButton", "Paint", "Paint Environment");
  QToolButton* load = ToolButton(page, "LoadButton", "Load", "Load Picture");
  headButton_ = ToolButton(page, "HeadButton", "", "Observers Head");
  bodyButton_ = ToolButton(page, "BodyButton", "", "Observers Body");
  headButton_->setCheckable(true);
  bodyButton_->setCheckable(true);
  for (QToolButton* b : {clear, load, headButton_, bodyButton_}) buttons->addWidget(b);
  buttons->addStretch();
  column->addLayout(buttons);

  popupMenu1_ = Named(new QMenu(this), "PopupMenu1");
  QAction* fromFile = Named(popupMenu1_->addAction("Load Picture from File"), "LoadPicturefromFile1");
  QAction* fromScreen = Named(popupMenu1_->addAction("Get Picture from screen"), "GetPicturefromscreen1");
  connect(fromFile, &QAction::triggered, this, &LightMapWindow::LoadPicturefromFile1Click);
  connect(fromScreen, &QAction::triggered, this, &LightMapWindow::GetPicturefromscreen1Click);
  AddMadeSurroundings(popupMenu1_, "1");
  load->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(load, &QWidget::customContextMenuRequested, this,
          [this, load](QPoint at) { popupMenu1_->popup(load->mapToGlobal(at)); });
  connect(load, &QToolButton::clicked, this, [this, load] { popupMenu1_->popup(load->mapToGlobal(QPoint(0, 0))); });
  connect(clear, &QToolButton::clicked, this, [this] { ClearFButtonClick(PictureSide::Front); });

  auto* law = new QHBoxLayout;
  comboBox1_ = Named(new QComboBox(page), "ComboBox1");
  comboBox1_->addItems({"Const", "Cos", "Cos^2", "Cos^4"});
  paintBox1_ = Named(new QWidget(page), "PaintBox1");
  paintBox1_->setFixedSize(39, 22);
  paintBox1_->installEventFilter(this);
  law->addWidget(comboBox1_, 1);
  law->addWidget(paintBox1_);
  column->addLayout(law);
  label1_ = Named(new QLabel(page), "Label1");
  column->addWidget(label1_);
  bodyTrackBar_ = TrackBar(page, "BodyTrackBar", 0, 30, 0);
  bodyTrackBar_->setPageStep(5);
  column->addWidget(bodyTrackBar_);
  column->addStretch();
  return page;
}

void LightMapWindow::AddMadeSurroundings(QMenu* menu, const QString& suffix) {
  menu->addSeparator();
  QAction* lamps = Named(menu->addAction("Lamps"), "Lamps" + suffix);
  QAction* aset = Named(menu->addAction("ASET"), "ASET" + suffix);
  lamps->setToolTip("Small white lamps on black: the surroundings that show fire");
  aset->setToolTip("Blue from the head, red to 45 degrees, green to 90: the ASET picture");
  connect(lamps, &QAction::triggered, this, &LightMapWindow::LoadLampsClick);
  connect(aset, &QAction::triggered, this, &LightMapWindow::LoadAsetClick);
}

QWidget* LightMapWindow::MakeBackPage() {
  auto* page = Named(new QWidget, "BackPage");
  auto* column = new QVBoxLayout(page);
  column->setContentsMargins(2, 2, 2, 2);
  column->setSpacing(2);
  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(1);
  QToolButton* clear = ToolButton(page, "ClearBButton", "Paint", "");
  QToolButton* load = ToolButton(page, "ToolButton2", "Load", "");
  buttons->addWidget(clear);
  buttons->addWidget(load);
  buttons->addStretch();
  column->addLayout(buttons);
  popupMenu2_ = Named(new QMenu(this), "PopupMenu2");
  QAction* fromFile = Named(popupMenu2_->addAction("Load Picture from File"), "MenuItem1");
  connect(fromFile, &QAction::triggered, this, &LightMapWindow::LoadPicturefromFile1Click);
  AddMadeSurroundings(popupMenu2_, "2");
  load->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(load, &QWidget::customContextMenuRequested, this,
          [this, load](QPoint at) { popupMenu2_->popup(load->mapToGlobal(at)); });
  // Both load buttons offer the front page's menu, at the button's corner.
  connect(load, &QToolButton::clicked, this, [this, load] { popupMenu1_->popup(load->mapToGlobal(QPoint(0, 0))); });
  connect(clear, &QToolButton::clicked, this, [this] { ClearFButtonClick(PictureSide::Back); });

  label2_ = Named(new QLabel(page), "Label2");
  label2_->setToolTip("Background Brightness");
  column->addWidget(label2_);
  trackBarBGC_ = TrackBar(page, "TrackBarBGC", 0, 100, 100);
  trackBarBGC_->setToolTip("Background Brightness");
  column->addWidget(trackBarBGC_);
  column->addStretch();
  return page;
}

}  // namespace brillora
