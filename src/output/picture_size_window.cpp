#include "output/picture_size_window.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>

#include <algorithm>

#include "view/export_picture.h"

namespace brillora {

namespace {

// The save dialog's filters, in this order, and the format each writes (under
// the extension the filter names).
struct ExportFilter {
  const char* name;
  ImageFormat format;
};
constexpr ExportFilter kFilters[] = {
    {"BitMap (*.bmp)", ImageFormat::Bmp},
    {"JPeg (*.jpg)", ImageFormat::Jpeg},
    {"CompuServe GIF Image (*.gif)", ImageFormat::Gif},
    {"PNG (*.png)", ImageFormat::Png},
};

constexpr int kMostTyped = 99999;

bool SizeAccepted(int side) {
  return side >= PictureSizeWindow::kLeastSide && side <= PictureSizeWindow::kMostSide;
}

// A size field that keeps whatever number is typed into it, so that a size
// outside the range is refused with a message rather than replaced by another;
// its arrows step within the range.
class SizeSpin : public QSpinBox {
 public:
  explicit SizeSpin(QWidget* parent) : QSpinBox(parent) { setRange(0, kMostTyped); }

  void stepBy(int steps) override {
    setValue(std::clamp(value() + steps * singleStep(), int{PictureSizeWindow::kLeastSide},
                        int{PictureSizeWindow::kMostSide}));
  }

 protected:
  StepEnabled stepEnabled() const override {
    StepEnabled enabled = StepNone;
    if (value() > PictureSizeWindow::kLeastSide) enabled |= StepDownEnabled;
    if (value() < PictureSizeWindow::kMostSide) enabled |= StepUpEnabled;
    return enabled;
  }
};

QSpinBox* SizeEdit(const char* name, QWidget* parent) {
  auto* edit = new SizeSpin(parent);
  edit->setObjectName(name);
  edit->setValue(PictureSizeWindow::kInitialSide);
  return edit;
}

QToolButton* GlyphButton(const char* name, const QString& hint, QStyle::StandardPixmap glyph, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setToolTip(hint);
  button->setIcon(parent->style()->standardIcon(glyph));
  button->setIconSize(QSize(24, 24));
  return button;
}

}  // namespace

PictureSizeWindow::PictureSizeWindow(RequestSource source, SoundCue sound, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      source_(std::move(source)), sound_(std::move(sound)), label1_(new QLabel("Width", this)),
      spinX_(SizeEdit("RxSpinEditX", this)), label2_(new QLabel("Height", this)),
      spinY_(SizeEdit("RxSpinEditY", this)),
      buttonF_(GlyphButton("ButtonF", "Copy image to File", QStyle::SP_DialogSaveButton, this)),
      buttonC_(GlyphButton("ButtonC", "Copy Image to Clipboard", QStyle::SP_FileDialogContentsView, this)),
      progress_(new QProgressBar(this)), cancel_(new QPushButton("Cancel", this)),
      saveDialog_(std::make_unique<FileDialog>(this, QFileDialog::AcceptSave, "SaveDialog1")) {
  setObjectName("PictureSize");
  setWindowTitle("Size");
  setModal(true);
  label1_->setObjectName("Label1");
  label2_->setObjectName("Label2");
  progress_->setObjectName("ExportProgress");
  progress_->setRange(0, 0);  // the refined pass does not know how far it is
  cancel_->setObjectName("ExportCancel");
  cancel_->setCursor(Qt::ArrowCursor);

  auto* layout = new QGridLayout(this);
  layout->addWidget(label1_, 0, 0);
  layout->addWidget(spinX_, 0, 1);
  layout->addWidget(label2_, 1, 0);
  layout->addWidget(spinY_, 1, 1);
  // The two buttons share one place; the item that opens the window shows one.
  layout->addWidget(buttonF_, 0, 2, 2, 1);
  layout->addWidget(buttonC_, 0, 2, 2, 1);
  layout->addWidget(progress_, 2, 0, 1, 2);
  layout->addWidget(cancel_, 2, 2);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  ShowBusy(false);

  saveDialog_->setDefaultSuffix("bmp");
  saveDialog_->SetNameRule(WithFilterExtension);
  QStringList filters;
  for (const ExportFilter& filter : kFilters) filters << filter.name;
  saveDialog_->setNameFilters(filters);
  saveDialog_->selectFile("Picture");

  connect(buttonF_, &QToolButton::clicked, this, [this] { ButtonClick(buttonF_); });
  connect(buttonC_, &QToolButton::clicked, this, [this] { ButtonClick(buttonC_); });
  connect(cancel_, &QPushButton::clicked, this, &PictureSizeWindow::CancelExport);
  progressDelay_.setSingleShot(true);
  progressDelay_.setInterval(kProgressDelayMs);
  connect(&progressDelay_, &QTimer::timeout, this, [this] {
    progress_->show();
    cancel_->show();
  });
  // Key presses reach the window before its own controls (not the save
  // dialog's, whose Enter and Escape are the dialog's).
  for (QWidget* control : std::initializer_list<QWidget*>{spinX_, spinY_, buttonF_, buttonC_, cancel_}) {
    control->installEventFilter(this);
    for (QWidget* part : control->findChildren<QWidget*>()) part->installEventFilter(this);
  }
}

PictureSizeWindow::~PictureSizeWindow() { CancelExport(); }

void PictureSizeWindow::Prepare(ExportItem item) {
  buttonF_->setVisible(item == ExportItem::File);
  buttonC_->setVisible(item == ExportItem::Clipboard);
  if (shownBefore_) move(QCursor::pos());
}

void PictureSizeWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  shownBefore_ = true;
}

void PictureSizeWindow::Open(ExportItem item) {
  Prepare(item);
  exec();
}

bool PictureSizeWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && TakeKey(static_cast<QKeyEvent*>(event)->key())) return true;
  return QDialog::eventFilter(watched, event);
}

void PictureSizeWindow::keyPressEvent(QKeyEvent* event) {
  if (!TakeKey(event->key())) QDialog::keyPressEvent(event);
}

bool PictureSizeWindow::TakeKey(int key) {
  if (key == Qt::Key_Escape) {
    reject();
    return true;
  }
  if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
  if (!busy_) ButtonClick(buttonC_->isVisibleTo(this) ? buttonC_ : buttonF_);
  return true;
}

void PictureSizeWindow::reject() {
  CancelExport();
  QDialog::reject();
}

void PictureSizeWindow::ButtonClick(QToolButton* sender) {
  if (busy_) return;
  const int w = spinX_->value();
  const int h = spinY_->value();
  if (!SizeAccepted(w) || !SizeAccepted(h)) {
    QMessageBox::information(this, "Brillora",
                             QString("The picture must be from %1 to %2 pixels wide and high: %3 x %4 is not drawn.")
                                 .arg(kLeastSide)
                                 .arg(kMostSide)
                                 .arg(w)
                                 .arg(h));
    return;
  }
  ExportTask task{source_(w, h), std::nullopt};
  toClipboard_ = sender == buttonC_;
  if (!toClipboard_) {
    // The file is asked for first, so that a cancelled dialog costs no drawing.
    // The extension follows the filter, not the typed name.
    const QString name = saveDialog_->Ask();
    if (name.isEmpty()) return;
    const QString chosen = saveDialog_->selectedNameFilter();
    const ExportFilter* filter = &kFilters[0];
    for (const ExportFilter& f : kFilters) {
      if (chosen == f.name) filter = &f;
    }
    target_ = name;
    task.file = ExportFile{name.toStdString(), filter->format};
  }
  Start(std::move(task));
}

void PictureSizeWindow::Start(ExportTask task) {
  if (sound_) sound_("BGrownd");
  ShowBusy(true);
  progressDelay_.start();
  const unsigned job = ++job_;
  worker_ = std::jthread([this, job, task = std::move(task)](const std::stop_token& stop) {
    ExportOutcome outcome = RunExport(task, [&stop] { return stop.stop_requested(); });
    // Handed to the window's thread; dropped if the window is gone by then.
    QMetaObject::invokeMethod(
        this, [this, job, outcome = std::move(outcome)]() mutable { Finish(job, std::move(outcome)); },
        Qt::QueuedConnection);
  });
}

void PictureSizeWindow::CancelExport() {
  if (!worker_.joinable()) return;
  worker_.request_stop();
  worker_.join();
  worker_ = {};
  ++job_;  // whatever the worker handed back meanwhile is stale
  ShowBusy(false);
  emit exportEnded();
}

void PictureSizeWindow::Finish(unsigned job, ExportOutcome outcome) {
  if (job != job_) return;
  if (worker_.joinable()) worker_.join();
  worker_ = {};
  ShowBusy(false);
  switch (outcome.kind) {
    case ExportOutcome::Kind::Cancelled:
      break;
    case ExportOutcome::Kind::TooLarge:
      QMessageBox::information(this, "Brillora", QString::fromUtf8(kPictureTooHigh.data(), kPictureTooHigh.size()));
      break;
    case ExportOutcome::Kind::WriteFailed:
      QMessageBox::information(this, "Brillora",
                               QString("Cannot write %1: %2")
                                   .arg(target_, QString::fromStdString(outcome.error)));
      break;
    case ExportOutcome::Kind::Done:
      if (toClipboard_) {
        QApplication::clipboard()->setImage(outcome.picture);
        clipboardUsed_ = true;
        emit clipboardFilled();
      }
      accept();
      break;
  }
  emit exportEnded();
}

void PictureSizeWindow::ShowBusy(bool busy) {
  busy_ = busy;
  if (busy) {
    setCursor(Qt::WaitCursor);
  } else {
    unsetCursor();
    progressDelay_.stop();
    progress_->hide();
    cancel_->hide();
  }
  spinX_->setEnabled(!busy);
  spinY_->setEnabled(!busy);
  buttonF_->setEnabled(!busy);
  buttonC_->setEnabled(!busy);
}

}  // namespace brillora
