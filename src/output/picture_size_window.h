#pragma once

#include <QDialog>
#include <QTimer>
#include <functional>
#include <memory>
#include <thread>

#include "output/export_run.h"
#include "widgets/file_dialog.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace brillora {

// Which menu item opened the export window.
enum class ExportItem { File, Clipboard };

// The image export window: renders the current view at the typed size and
// writes it to a file or puts it on the clipboard; a size outside 100 to 9000
// pixels is refused with a message. The drawing runs on a thread of its own;
// after half a second a progress bar with "Cancel" shows.
class PictureSizeWindow : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kLeastSide = 100;
  static constexpr int kMostSide = 9000;
  static constexpr int kInitialSide = 1000;
  static constexpr int kProgressDelayMs = 500;

  // What the refined pass would draw of the current view at a size.
  using RequestSource = std::function<RefineRequest(int width, int height)>;
  using SoundCue = std::function<void(const QString& name)>;

  PictureSizeWindow(RequestSource source, SoundCue sound, QWidget* parent = nullptr);
  ~PictureSizeWindow() override;

  // Shows the button of the item and, once the window has been shown, moves
  // it to the mouse pointer (the first time it stands where the application
  // placed it); Open also shows it modally.
  void Prepare(ExportItem item);
  void Open(ExportItem item);

  FileDialog& SaveDialog() { return *saveDialog_; }
  // An image was put on the clipboard during the run.
  bool ClipboardUsed() const { return clipboardUsed_; }
  // An export is being drawn or written.
  bool Busy() const { return busy_; }

  void reject() override;

 signals:
  void clipboardFilled();
  // An export ended, written, cancelled or failed.
  void exportEnded();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // Enter and Escape, whichever control has the focus; true when taken.
  bool TakeKey(int key);
  void ButtonClick(QToolButton* sender);
  void Start(ExportTask task);
  void Finish(unsigned job, ExportOutcome outcome);
  void CancelExport();
  void ShowBusy(bool busy);

  RequestSource source_;
  SoundCue sound_;
  QLabel* label1_;
  QSpinBox* spinX_;
  QLabel* label2_;
  QSpinBox* spinY_;
  QToolButton* buttonF_;
  QToolButton* buttonC_;
  QProgressBar* progress_;
  QPushButton* cancel_;
  std::unique_ptr<FileDialog> saveDialog_;
  QTimer progressDelay_;
  QString target_;  // the file being written
  unsigned job_ = 0;  // the export whose outcome is awaited
  bool shownBefore_ = false;
  bool clipboardUsed_ = false;
  bool busy_ = false;
  bool toClipboard_ = false;
  std::jthread worker_;  // last: its thread ends before anything it reports to goes
};

}  // namespace brillora
