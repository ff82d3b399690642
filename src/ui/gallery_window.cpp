#include "ui/gallery_window.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QListView>
#include <QPixmap>
#include <QPushButton>
#include <QShowEvent>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <map>
#include <string>
#include <utility>

#include "gallery/design_summary.h"
#include "gallery/gallery_descriptions.h"
#include "gallery/gallery_listing.h"
#include "gallery/gallery_summaries.h"
#include "widgets/named.h"

namespace brillora {
namespace {

constexpr int kThumbnailSize = 96;

// What each entry holds besides its caption and picture.
constexpr int kFileRole = Qt::UserRole + 1;
constexpr int kNameKeyRole = Qt::UserRole + 2;      // the name in lower case
constexpr int kIsoKeyRole = Qt::UserRole + 3;       // the ISO; below every ISO until known
constexpr int kDescriptionRole = Qt::UserRole + 4;  // what the folder's README says of it
constexpr double kNoIso = -1.0;

enum SortChoice { kByName = 0, kByIso = 1 };

QString SymmetryText(const DesignSummary& summary) {
  return QString("%1-fold%2").arg(summary.symmetry).arg(summary.mirror ? " mirror" : "");
}

QString IsoText(const DesignSummary& summary) {
  const QString iso = "ISO " + QString::number(100 * summary.iso, 'f', 2) + " %";
  return summary.isoCutShort ? iso + " (cut short)" : iso;
}

// The description first, when the folder gives one, then the file's details.
QString ToolTip(const QStandardItem& item, const QString& details) {
  const QString description = item.data(kDescriptionRole).toString();
  return description.isEmpty() ? details : description + "\n" + details;
}

}  // namespace

GalleryWindow::GalleryWindow(QString folder, QWidget* parent) : QWidget(parent, Qt::Window), folder_(std::move(folder)) {
  setObjectName("Gallery");
  setWindowTitle("Gallery");

  folderLabel_ = Named(new QLabel(this), "FolderLabel");
  folderLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  chooseFolder_ = Named(new QPushButton("Choose Folder...", this), "ChooseFolder");
  sortBox_ = Named(new QComboBox(this), "SortBox");
  sortBox_->addItems({"Name", "ISO"});
  state_ = Named(new QLabel(this), "GalleryState");

  designs_ = new QStandardItemModel(this);
  sorted_ = new QSortFilterProxyModel(this);
  sorted_->setSourceModel(designs_);
  sorted_->setDynamicSortFilter(true);
  list_ = Named(new QListView(this), "GalleryList");
  list_->setModel(sorted_);
  list_->setViewMode(QListView::IconMode);
  list_->setIconSize(QSize(kThumbnailSize, kThumbnailSize));
  list_->setGridSize(EntrySize());
  list_->setWordWrap(true);
  list_->setResizeMode(QListView::Adjust);
  list_->setMovement(QListView::Static);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);

  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel("Folder:", this));
  top->addWidget(folderLabel_, 1);
  top->addWidget(chooseFolder_);
  top->addSpacing(12);
  top->addWidget(new QLabel("Sort by:", this));
  top->addWidget(sortBox_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(list_, 1);
  layout->addWidget(state_);
  resize(6 * EntrySize().width() + 40, 3 * EntrySize().height() + 100);

  connect(chooseFolder_, &QPushButton::clicked, this, [this] { ChooseFolder(); });
  connect(sortBox_, &QComboBox::currentIndexChanged, this, [this](int choice) { SortBy(choice); });
  // A double click, or Return, as every list of files opens its entry.
  connect(list_, &QListView::activated, this, [this](const QModelIndex& index) {
    emit designChosen(sorted_->data(index, kFileRole).toString());
  });
  SortBy(kByName);
  folderLabel_->setText(QDir::toNativeSeparators(folder_));
}

GalleryWindow::~GalleryWindow() { Abandon(); }

// Room for the picture and three lines as long as the longest figures line
// of a many-faceted GemCad design, or a long name.
QSize GalleryWindow::EntrySize() const {
  const QFontMetrics metrics = fontMetrics();
  const int text = std::max(metrics.horizontalAdvance("48-fold mirror, 5000 facets"),
                            metrics.horizontalAdvance("Brilliant16Tourmaline"));
  return {std::max(kThumbnailSize, text) + 16, kThumbnailSize + 3 * metrics.lineSpacing() + 16};
}

void GalleryWindow::ShowFolder(const QString& folder) {
  folder_ = folder;
  folderLabel_->setText(QDir::toNativeSeparators(folder_));
  if (isVisible()) {
    Relist();
  } else {
    Abandon();
  }
}

// Minimising sends a spontaneous hide, which keeps the work going.
void GalleryWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous()) Relist();
}

void GalleryWindow::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  if (!event->spontaneous()) Abandon();
}

// The entries make room for their lines in the desktop's font as it changes.
void GalleryWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange && list_) list_->setGridSize(EntrySize());
}

void GalleryWindow::Abandon() {
  summaries_.reset();
  ++generation_;
}

void GalleryWindow::Relist() {
  Abandon();
  designs_->clear();
  const GalleryListing listing = ListGalleryFolder(QDir(folder_).filesystemAbsolutePath());
  listingNote_.clear();
  if (!listing.error.empty()) listingNote_ = "The folder cannot be read: " + QString::fromStdString(listing.error);
  if (listing.moreLeftOut) listingNote_ = QString("Only the first %1 designs are shown.").arg(kGalleryMostDesigns);

  const std::map<std::string, std::string> descriptions =
      ReadGalleryDescriptions(QDir(folder_).filesystemAbsolutePath());
  QPixmap blank(kThumbnailSize, kThumbnailSize);
  blank.fill(palette().color(QPalette::Mid));
  for (const std::filesystem::path& file : listing.files) {
    const QString name = QString::fromStdString(file.stem().string());
    auto* item = new QStandardItem(QIcon(blank), name + "\nComputing...");
    item->setData(QString::fromStdString(file.string()), kFileRole);
    item->setData(name.toLower(), kNameKeyRole);
    item->setData(kNoIso, kIsoKeyRole);
    const auto description = descriptions.find(file.filename().string());
    if (description != descriptions.end()) {
      item->setData(QString::fromStdString(description->second), kDescriptionRole);
    }
    item->setToolTip(ToolTip(*item, QDir::toNativeSeparators(QString::fromStdString(file.string()))));
    designs_->appendRow(item);
  }
  pending_ = static_cast<int>(listing.files.size());
  ShowState();
  if (listing.files.empty()) {
    emit filled();
    return;
  }
  const unsigned generation = generation_;
  summaries_ = std::make_unique<GallerySummaries>(
      listing.files, kThumbnailSize, GallerySummaries::DefaultThreads(),
      [this, generation](std::size_t index, DesignSummary summary) {
        // Shown on this thread; dropped with the window if it goes first.
        QMetaObject::invokeMethod(
            this, [this, generation, index, summary = std::move(summary)] { Show(generation, index, summary); },
            Qt::QueuedConnection);
      });
}

void GalleryWindow::Show(unsigned generation, std::size_t index, const DesignSummary& summary) {
  if (generation != generation_) return;
  QStandardItem* item = designs_->item(static_cast<int>(index));
  Q_ASSERT(item);
  const QString name = QString::fromStdString(summary.name);
  const QString file = QDir::toNativeSeparators(QString::fromStdString(summary.file.string()));
  if (summary.ok()) {
    item->setText(name + "\n" + SymmetryText(summary) + ", " + QString::number(summary.facets) + " facets\n" +
                  IsoText(summary));
    if (!summary.thumbnail.isNull()) item->setIcon(QIcon(QPixmap::fromImage(summary.thumbnail)));
    item->setToolTip(
        ToolTip(*item, file + "\nrefractive index " + QString::number(summary.refractiveIndex, 'f', 3)));
    item->setData(summary.iso, kIsoKeyRole);
  } else {
    const QString reason = QString::fromStdString(summary.error);
    item->setText(name + "\nCannot be read");
    item->setIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning));
    item->setToolTip(ToolTip(*item, file + "\n" + reason));
  }
  --pending_;
  Q_ASSERT(pending_ >= 0);
  ShowState();
  if (pending_ == 0) {
    summaries_.reset();
    emit filled();
  }
}

void GalleryWindow::ShowState() {
  const int count = designs_->rowCount();
  QString text;
  if (count == 0) {
    text = "No designs in this folder.";
  } else if (pending_ > 0) {
    text = QString("Computing: %1 of %2 designs done.").arg(count - pending_).arg(count);
  } else {
    text = QString(count == 1 ? "%1 design." : "%1 designs.").arg(count);
  }
  state_->setText(listingNote_.isEmpty() ? text : listingNote_ + " " + text);
}

void GalleryWindow::SortBy(int choice) {
  if (choice == kByIso) {
    // The brightest first; those not yet known, or unreadable, last.
    sorted_->setSortRole(kIsoKeyRole);
    sorted_->sort(0, Qt::DescendingOrder);
  } else {
    sorted_->setSortRole(kNameKeyRole);
    sorted_->sort(0, Qt::AscendingOrder);
  }
}

void GalleryWindow::ChooseFolder() {
  const QString folder = QFileDialog::getExistingDirectory(this, "Choose a Folder of Designs", folder_);
  if (!folder.isEmpty()) ShowFolder(folder);
}

}  // namespace brillora
