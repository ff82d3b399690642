#include "output/alignment_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <thread>

#include "model/edit_history.h"
#include "model/gear.h"
#include "optimize/cutting_tolerance.h"

#include "widgets/wait_cursor.h"

namespace brillora {

namespace {

const QColor kFieldColour(240, 250, 255);
const QColor kFocusedColour(255, 255, 128);

void Colour(QWidget* field, const QColor& colour) {
  QPalette palette = field->palette();
  palette.setColor(QPalette::Base, colour);
  field->setPalette(palette);
}

Qt::CursorShape ZoneCursor(int zone) {
  switch (zone) {
    case 0:
    case 8:
      return Qt::SizeFDiagCursor;
    case 1:
    case 7:
      return Qt::SizeVerCursor;
    case 2:
    case 6:
      return Qt::SizeBDiagCursor;
    case 3:
    case 5:
      return Qt::SizeHorCursor;
    default:
      return Qt::SizeAllCursor;
  }
}

int ToleranceThreads() { return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u)); }

// The cost of a 0.1 degree error in each typed slope, for the optimizer's
// default merit in the sheet's material.
SlopeTolerances SheetTolerances(const Design& design, double refractiveIndex, const std::function<bool()>& stop) {
  MeritSettings merit;
  merit.analysis.RefractiveIndex = refractiveIndex;
  const std::optional<StepSlopeCosts> costs = SlopeCostsByStep(design, merit, ToleranceThreads(), stop);
  if (!costs) return {};
  return {costs->crown, costs->pavilion};
}

}  // namespace

// A per-cent field: tells the window when it gains or loses the focus and
// when its spin buttons step it.
class LayoutSpin : public QDoubleSpinBox {
 public:
  LayoutSpin(LayoutField tag, QWidget* parent) : QDoubleSpinBox(parent), tag_(tag) {}
  LayoutField Tag() const { return tag_; }
  std::function<void()> focusIn, focusOut, stepped;

  void stepBy(int steps) override {
    QDoubleSpinBox::stepBy(steps);
    if (stepped) stepped();
  }

 protected:
  void focusInEvent(QFocusEvent* event) override {
    QDoubleSpinBox::focusInEvent(event);
    if (focusIn) focusIn();
  }
  void focusOutEvent(QFocusEvent* event) override {
    QDoubleSpinBox::focusOutEvent(event);
    if (focusOut) focusOut();
  }

 private:
  LayoutField tag_;
};

AlignmentWindow::AlignmentWindow(PrintTarget& target, Properties properties, SubjectSource subject, SoundCue sound,
                                 QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), target_(target), properties_(std::move(properties)),
      subject_(std::move(subject)), sound_(std::move(sound)), pdfDialog_(new FileDialog(this, QFileDialog::AcceptSave, "PdfDialog")),
      panel5_(new QFrame(this)), paintBox1_(new QWidget(panel5_)) {
  setObjectName("Alignment");
  setWindowTitle("Alignment picture in the paper");
  QFont font("Sans Serif");
  font.setPixelSize(11);
  setFont(font);

  panel5_->setObjectName("Panel5");
  panel5_->setAutoFillBackground(true);
  QPalette white = panel5_->palette();
  white.setColor(QPalette::Window, Qt::white);
  panel5_->setPalette(white);
  panel5_->setFocusPolicy(Qt::ClickFocus);
  panel5_->setMouseTracking(true);
  panel5_->installEventFilter(this);
  paintBox1_->setObjectName("PaintBox1");
  paintBox1_->setMouseTracking(true);
  paintBox1_->installEventFilter(this);
  MakePanel();

  pdfDialog_->setDefaultSuffix("pdf");
  pdfDialog_->SetNameRule(WithFilterExtension);
  pdfDialog_->setNameFilters({"PDF (*.pdf)"});
  pdfDialog_->selectFile("Brillora");
  resize(kPanelWidth + 2 * kBorder + 100, kLeastClientHeight);

  // The tolerance column is computed on a thread of its own; the preview shows
  // the column's heading at once and its values when they come.
  toleranceWorker_ = std::make_unique<ToleranceWorker>(
      [](const ToleranceKey& key, const ToleranceWorker::Stale& stale, const ToleranceWorker::Hand& hand) {
        SlopeTolerances column = SheetTolerances(key.design, key.refractiveIndex, stale);
        hand({key, std::move(column)});
      },
      [this](std::pair<ToleranceKey, SlopeTolerances> computed, unsigned request) {
        QMetaObject::invokeMethod(
            this, [this, computed = std::move(computed), request] { ShowTolerances(computed, request); },
            Qt::QueuedConnection);
      });
}

AlignmentWindow::~AlignmentWindow() {
  // The base class moves the focus while it closes, after this window's own
  // parts are gone: the fields must not reach them then.
  for (LayoutSpin* field : {top_, left_, right_, bottom_, width_, height_}) {
    field->focusIn = nullptr;
    field->focusOut = nullptr;
    field->stepped = nullptr;
    field->disconnect(this);
  }
  panel5_->removeEventFilter(this);
  paintBox1_->removeEventFilter(this);
}

LayoutSpin* AlignmentWindow::AddField(const char* name, LayoutField tag, double least, double initial) {
  auto* field = new LayoutSpin(tag, panel4_);
  field->setObjectName(name);
  field->setRange(least, 100);
  field->setDecimals(2);
  field->setValue(initial);
  field->setKeyboardTracking(false);
  Colour(field, kFieldColour);
  field->focusIn = [this, field] {
    active_ = field->Tag();
    Colour(field, kFocusedColour);
  };
  field->focusOut = [this, field] {
    Colour(field, kFieldColour);
    ApplyField(field);
  };
  field->stepped = [this, field] { ApplyField(field); };
  connect(field, &QDoubleSpinBox::editingFinished, this, [this, field] {
    if (field->hasFocus()) ApplyField(field);
  });
  return field;
}

QWidget* AlignmentWindow::MakePanel() {
  auto* panel = new QWidget(this);
  panel4_ = panel;
  panel->setObjectName("Panel4");
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(4, 4, 4, 4);
  grid->setVerticalSpacing(2);
  grid->setHorizontalSpacing(3);
  int row = 0;

  printerLine_ = new QLabel(panel);
  printerLine_->setObjectName("PrinterLine");
  printerLine_->setWordWrap(true);
  grid->addWidget(printerLine_, row++, 0, 1, 5);
  propertiesButton_ = new QPushButton("Printer properties", panel);
  propertiesButton_->setObjectName("Properties");
  grid->addWidget(propertiesButton_, row++, 0, 1, 5);
  connect(propertiesButton_, &QPushButton::clicked, this, &AlignmentWindow::PropertiesClick);
  copies_ = new QSpinBox(panel);
  copies_->setObjectName("SEditCopy");
  copies_->setRange(1, 999);
  copies_->setValue(1);
  grid->addWidget(new QLabel("Copies", panel), row, 0);
  grid->addWidget(copies_, row++, 1);

  auto* margins = new QLabel("Margins", panel);
  margins->setObjectName("MarginsHeading");
  QFont bold = margins->font();
  bold.setBold(true);
  margins->setFont(bold);
  grid->addWidget(margins, row++, 0, 1, 5);
  const auto addRow = [&](const char* caption, LayoutSpin* field, const char* cmName, QLabel*& cm) {
    grid->addWidget(new QLabel(caption, panel), row, 0);
    grid->addWidget(field, row, 1);
    grid->addWidget(new QLabel("%", panel), row, 2);
    cm = new QLabel(panel);
    cm->setObjectName(cmName);
    grid->addWidget(cm, row, 3);
    grid->addWidget(new QLabel("cm", panel), row++, 4);
  };
  top_ = AddField("SEdit3", LayoutField::Top, 0, 10);
  left_ = AddField("SEdit4", LayoutField::Left, 0, 10);
  right_ = AddField("SEdit5", LayoutField::Right, 0, 10);
  bottom_ = AddField("SEdit6", LayoutField::Bottom, 0, 10);
  width_ = AddField("SEdit1", LayoutField::Width, 2, 100);
  height_ = AddField("SEdit2", LayoutField::Height, 2, 100);
  addRow("Top", top_, "LabelEd3", topCm_);
  addRow("Left", left_, "LabelEd4", leftCm_);
  addRow("Right", right_, "LabelEd5", rightCm_);
  addRow("Bottom", bottom_, "LabelEd6", bottomCm_);
  centerX_ = new QCheckBox("Center X", panel);
  centerX_->setObjectName("CheckBox1");
  centerY_ = new QCheckBox("Center Y", panel);
  centerY_->setObjectName("CheckBox2");
  grid->addWidget(centerX_, row, 0, 1, 2);
  grid->addWidget(centerY_, row++, 2, 1, 3);
  connect(centerX_, &QCheckBox::toggled, this, [this] { Order(centerX_); });
  connect(centerY_, &QCheckBox::toggled, this, [this] { Order(centerY_); });
  tolerance_ = new QCheckBox("Tolerances \u00b10.1\u00b0", panel);
  tolerance_->setObjectName("ToleranceBox");
  tolerance_->setToolTip("The data sheet shows what a slope cut 0.1 degree off costs in merit");
  grid->addWidget(tolerance_, row++, 0, 1, 5);
  connect(tolerance_, &QCheckBox::toggled, this, [this] { PaintBox1Paint(); });

  auto* size = new QLabel("Size", panel);
  size->setObjectName("SizeHeading");
  grid->addWidget(size, row++, 0, 1, 5);
  addRow("Width", width_, "LabelEd1", widthCm_);
  addRow("Height", height_, "LabelEd2", heightCm_);
  auto* zoomX = new QPushButton("Zoom X", panel);
  zoomX->setObjectName("ZoomX");
  auto* zoomY = new QPushButton("Zoom Y", panel);
  zoomY->setObjectName("ZoomY");
  grid->addWidget(zoomX, row, 0, 1, 2);
  grid->addWidget(zoomY, row++, 2, 1, 3);
  connect(zoomX, &QPushButton::clicked, this, [this] { Zoom(true); });
  connect(zoomY, &QPushButton::clicked, this, [this] { Zoom(false); });

  grid->setRowStretch(row++, 1);
  auto* ok = new QPushButton("OK", panel);
  ok->setObjectName("OK");
  auto* cancel = new QPushButton("Cancel", panel);
  cancel->setObjectName("Cancel");
  grid->addWidget(ok, row, 0, 1, 2);
  grid->addWidget(cancel, row++, 2, 1, 3);
  connect(ok, &QPushButton::clicked, this, &AlignmentWindow::OKClick);
  connect(cancel, &QPushButton::clicked, this, &QWidget::hide);
  return panel;
}

bool AlignmentWindow::PBAlign() {
  const std::optional<PrinterMetrics> printer = target_.Metrics();
  if (!printer) return false;
  printerLine_->setText(target_.Description());
  page_ = brillora::PBAlign(*printer, height() - 2 * kBorder);
  panel5_->setGeometry(kBorder, kBorder, page_.width, page_.height);
  const int windowWidth = page_.width + kPanelWidth + 3 * kBorder;
  panel4_->setGeometry(page_.width + 2 * kBorder, 0, kPanelWidth, height());
  if (width() != windowWidth) {
    resizing_ = true;
    resize(windowWidth, height());
    resizing_ = false;
  }
  return true;
}

void AlignmentWindow::Act(ContentKind kind) {
  kind_ = kind;
  if (sound_) sound_("Block");
  if (rect_.Unset()) {
    // Where the window stands the first time is the application's to say.
    resizing_ = true;
    resize(width(), kLeastClientHeight);
    resizing_ = false;
    if (!PBAlign()) {
      QMessageBox::information(nullptr, "Brillora", "Printer is absent!");
      return;
    }
    rect_ = DefaultRect(page_.width, page_.height);
  }
  Order(nullptr);
  show();
  raise();
  laidOut_ = true;
}

Margins AlignmentWindow::FieldMargins() const {
  return {top_->value(), left_->value(), right_->value(), bottom_->value()};
}

void AlignmentWindow::Order(const QObject* sender) {
  rect_ = Centered(rect_, page_.width, page_.height, centerX_->isChecked(), centerY_->isChecked());
  shown_ = ViewOf(rect_, page_);
  widthCm_->setText(QString::fromStdString(shown_.widthCm));
  heightCm_->setText(QString::fromStdString(shown_.heightCm));
  topCm_->setText(QString::fromStdString(shown_.topCm));
  leftCm_->setText(QString::fromStdString(shown_.leftCm));
  rightCm_->setText(QString::fromStdString(shown_.rightCm));
  bottomCm_->setText(QString::fromStdString(shown_.bottomCm));
  const auto show = [sender](LayoutSpin* field, double value) {
    if (field == sender) return;
    const QSignalBlocker quiet(field);
    field->setValue(value);
  };
  show(width_, shown_.width);
  show(height_, shown_.height);
  show(top_, shown_.margins.top);
  show(left_, shown_.margins.left);
  show(right_, shown_.margins.right);
  show(bottom_, shown_.margins.bottom);
  paintBox1_->setGeometry(rect_.left, rect_.top, rect_.Width(), rect_.Height());
  PaintBox1Paint();
}

void AlignmentWindow::PaintBox1Paint() {
  if (rect_.Unset()) return;
  preview_ = painter_.PreviewSheet(rect_.Width(), rect_.Height(), page_.scaleX, page_.scaleY, kind_, Subject(false));
  paintBox1_->update();
  panel5_->update();
}

void AlignmentWindow::ApplyField(LayoutSpin* field) {
  if (field->Tag() != active_ || dragging_ || page_.width == 0) return;
  const double previous = field->Tag() == LayoutField::Width    ? shown_.width
                          : field->Tag() == LayoutField::Height ? shown_.height
                                                                 : 0;
  const Margins margins = AppliedField(field->Tag(), field->value(), previous, FieldMargins());
  {
    const QSignalBlocker quiet(field);
    // A margin field shows the margin it was limited to.
    if (field == top_) field->setValue(margins.top);
    if (field == left_) field->setValue(margins.left);
    if (field == right_) field->setValue(margins.right);
    if (field == bottom_) field->setValue(margins.bottom);
  }
  rect_ = RectFromMargins(margins, page_.width, page_.height);
  Order(field);
}

void AlignmentWindow::Zoom(bool across) {
  if (across) {
    rect_.left = 0;
    rect_.right = page_.width;
  } else {
    rect_.top = 0;
    rect_.bottom = page_.height;
  }
  active_ = LayoutField::None;
  Order(nullptr);
}

void AlignmentWindow::PropertiesClick() {
  laidOut_ = false;
  if (properties_) properties_(this);
  if (PBAlign()) Order(nullptr);
  laidOut_ = true;
}

bool AlignmentWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == paintBox1_ && event->type() == QEvent::Paint) {
    QPainter painter(paintBox1_);
    painter.drawImage(0, 0, preview_);
    return true;
  }
  if (watched == panel5_ || watched == paintBox1_) {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseMove:
      case QEvent::MouseButtonRelease:
        PageMouse(static_cast<QWidget*>(watched), event);
        return true;
      default:
        break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void AlignmentWindow::PageMouse(QWidget* on, QEvent* event) {
  const auto* mouse = static_cast<QMouseEvent*>(event);
  QPoint at = mouse->position().toPoint();  // relative to the content rectangle from here on
  if (on == panel5_) at -= QPoint(rect_.left, rect_.top);
  const QPoint onPage = at + QPoint(rect_.left, rect_.top);
  if (event->type() == QEvent::MouseButtonRelease) {
    dragging_ = false;
    return;
  }
  if (event->type() == QEvent::MouseButtonPress) {
    pressPoint_ = onPage;
    rectAtPress_ = rect_;
    zoneAtPress_ = Zone(at.x(), at.y(), rect_.Width(), rect_.Height());
    dragging_ = true;
    return;
  }
  if (dragging_) {
    const QPoint d = onPage - pressPoint_;
    rect_ = Dragged(rectAtPress_, zoneAtPress_, d.x(), d.y(), page_.width, page_.height);
    Order(nullptr);
    return;
  }
  const int zone = Zone(at.x(), at.y(), rect_.Width(), rect_.Height());
  panel5_->setCursor(ZoneCursor(zone));
  paintBox1_->setCursor(ZoneCursor(zone));
  QWidget* focus = panel5_;
  if (zone == 1) focus = top_;
  if (zone == 3) focus = left_;
  if (zone == 5) focus = right_;
  if (zone == 7) focus = bottom_;
  if (!focus->hasFocus()) focus->setFocus(Qt::MouseFocusReason);
}

void AlignmentWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (resizing_ || !laidOut_) return;
  const WindowSize asked{width(), height()};
  const WindowSize uniform =
      UniformResize({event->oldSize().width(), event->oldSize().height()}, asked, page_.width, page_.height);
  laidOut_ = false;
  if (uniform != asked) {
    resizing_ = true;
    resize(uniform.width, uniform.height);
    resizing_ = false;
  }
  if (PBAlign()) {
    rect_ = RectFromMarginsResized(FieldMargins(), page_.width, page_.height);
    Order(nullptr);
  }
  laidOut_ = true;
}

void AlignmentWindow::OKClick() {
  if (sound_) sound_("Type");
  const SheetArea area = PrinterArea(rect_, page_);
  if (target_.AsksForFile()) {
    const QString file = pdfDialog_->Ask();
    if (file.isEmpty()) return;
    target_.SetFile(file);
  }
  QString failure;
  {
    const WaitCursor wait;
    const SheetSubject subject = Subject(true);
    failure = PrintCopies(target_, copies_->value(),
                          [&](QPainter& page) { painter_.DrawSheet(page, area, kind_, subject); });
  }
  if (!failure.isEmpty()) {
    QMessageBox::information(this, "Brillora", failure);
    return;
  }
  hide();
}

bool AlignmentWindow::SameKey(const ToleranceKey& a, const ToleranceKey& b) {
  const auto state = [](const Design& d) {
    DesignState s;
    s.SymOrder = d.SymOrder;
    s.GearNotches = d.GearNotches;
    s.CrownSteps = d.CrownSteps;
    s.PavilionSteps = d.PavilionSteps;
    return s;
  };
  return a.refractiveIndex == b.refractiveIndex && !DesignsDiffer(state(a.design), state(b.design));
}

SheetSubject AlignmentWindow::Subject(bool wait) {
  SheetSubject subject = subject_();
  if (!tolerance_->isChecked() || kind_ != ContentKind::DataSheet || !IsSymmetryOrder(subject.symOrder)) {
    return subject;
  }
  ToleranceKey key{{subject.symOrder, GearNotchesFor(subject.symOrder), subject.crown, subject.pavilion},
                   subject.refractiveIndex};
  if (tolerances_ && SameKey(tolerances_->first, key)) {
    subject.tolerances = tolerances_->second;
  } else if (wait) {
    subject.tolerances = SheetTolerances(key.design, key.refractiveIndex, {});
    tolerances_.emplace(std::move(key), *subject.tolerances);
  } else {
    if (!asked_ || !SameKey(*asked_, key)) {
      asked_ = key;
      awaitedTolerances_ = toleranceWorker_->Request(std::move(key));
    }
    subject.tolerances = SlopeTolerances{};  // the heading alone until the values come
  }
  return subject;
}

void AlignmentWindow::ShowTolerances(const std::pair<ToleranceKey, SlopeTolerances>& computed, unsigned request) {
  if (request != awaitedTolerances_) return;
  tolerances_ = computed;
  PaintBox1Paint();
  emit tolerancesShown();
}

void AlignmentWindow::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  emit closed();
}

}  // namespace brillora
