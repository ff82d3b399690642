#pragma once

#include <QWidget>
#include <cstddef>
#include <memory>

class QCloseEvent;
class QComboBox;
class QHideEvent;
class QLabel;
class QListView;
class QPushButton;
class QShowEvent;
class QSortFilterProxyModel;
class QStandardItemModel;

namespace brillora {

class GallerySummaries;
struct DesignSummary;

// "Gallery": a thumbnail of every design of a folder with its name, symmetry,
// facet count and face-up ISO, sortable by name or ISO. The list shows at
// once and fills in as the worker threads summarise the designs; closing the
// window or choosing another folder abandons the work in hand. A double click
// hands the design to the design window, which opens it as any other.
class GalleryWindow : public QWidget {
  Q_OBJECT

 public:
  explicit GalleryWindow(QString folder, QWidget* parent = nullptr);
  ~GalleryWindow() override;

  // Shows the designs of that folder (listed again when the window next shows).
  void ShowFolder(const QString& folder);
  const QString& Folder() const { return folder_; }
  // The designs listed whose summary has not come yet.
  int Pending() const { return pending_; }

 signals:
  // The user chose a design to open.
  void designChosen(const QString& file);
  // Every design listed is summarised.
  void filled();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // Lists the folder and starts the summaries, abandoning any in hand.
  void Relist();
  void Abandon();
  void Show(unsigned generation, std::size_t index, const DesignSummary& summary);
  void ChooseFolder();
  void SortBy(int choice);
  void ShowState();
  QSize EntrySize() const;

  QString folder_;
  QLabel* folderLabel_ = nullptr;
  QPushButton* chooseFolder_ = nullptr;
  QComboBox* sortBox_ = nullptr;
  QLabel* state_ = nullptr;
  QListView* list_ = nullptr;
  QStandardItemModel* designs_ = nullptr;
  QSortFilterProxyModel* sorted_ = nullptr;
  QString listingNote_;  // what the listing itself has to say: an unreadable folder, designs left out
  int pending_ = 0;
  // The summaries' results that arrive from an abandoned listing are dropped.
  unsigned generation_ = 0;
  std::unique_ptr<GallerySummaries> summaries_;  // last: its threads end before the rest goes
};

}  // namespace brillora
