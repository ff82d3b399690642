// Every window of the program shows its texts whole: labels, check boxes and
// buttons, its caption, and the Light Performance chart's legend, at the
// desktop's default font and at a large one.
#include <QAbstractButton>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QGraphicsTextItem>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QSignalSpy>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "analysis/light_performance_window.h"
#include "light/light_map_window.h"
#include "output/alignment_window.h"
#include "output/picture_size_window.h"
#include "ui/brillora_app.h"
#include "ui/gallery_window.h"
#include "ui/progress_window.h"

using namespace brillora;

namespace {


constexpr int kLargeFontPixels = 20;

QString Named(const QWidget* w) { return w->objectName().isEmpty() ? w->metaObject()->className() : w->objectName(); }

// The room a caption needs as a desktop draws it: the title in the
// application's font, and the window's icon and each of its buttons as wide as
// the caption is high. A tool window without system buttons draws the title alone.
int CaptionNeed(const QWidget& window) {
  const QFontMetrics metrics(QApplication::font());
  const Qt::WindowFlags flags = window.windowFlags();
  int boxes = flags.testFlag(Qt::WindowSystemMenuHint) ? 1 : 0;
  for (const Qt::WindowType button : {Qt::WindowCloseButtonHint, Qt::WindowMinimizeButtonHint,
                                      Qt::WindowMaximizeButtonHint, Qt::WindowContextHelpButtonHint}) {
    boxes += flags.testFlag(button) ? 1 : 0;
  }
  const int captionHeight = metrics.height() + 8;
  return metrics.horizontalAdvance(window.windowTitle()) + boxes * captionHeight + metrics.height();
}

// Every label, check box and button that shows under `root` has room for its
// whole text in the font it is drawn in.
void CheckTextsFit(const QWidget& window, QWidget* root) {
  for (QLabel* label : root->findChildren<QLabel*>()) {
    if (!label->isVisible() || label->text().isEmpty()) continue;
    const QString where = Named(&window) + "/" + Named(label) + " \"" + label->text() + "\"";
    const QRect room = label->contentsRect();
    if (label->wordWrap()) {
      QVERIFY2(label->height() >= label->heightForWidth(label->width()), qPrintable(where));
      continue;
    }
    const QSize need = label->fontMetrics().size(0, label->text());
    QVERIFY2(room.width() >= need.width(),
             qPrintable(where + QString(": %1 wide for %2").arg(room.width()).arg(need.width())));
    QVERIFY2(room.height() >= need.height(),
             qPrintable(where + QString(": %1 high for %2").arg(room.height()).arg(need.height())));
  }
  for (QAbstractButton* button : root->findChildren<QAbstractButton*>()) {
    if (!button->isVisible() || button->text().isEmpty()) continue;
    const QString where = Named(&window) + "/" + Named(button) + " \"" + button->text() + "\"";
    const QSize need = button->minimumSizeHint();
    QVERIFY2(button->width() >= need.width(),
             qPrintable(where + QString(": %1 wide for %2").arg(button->width()).arg(need.width())));
    QVERIFY2(button->height() >= need.height(),
             qPrintable(where + QString(": %1 high for %2").arg(button->height()).arg(need.height())));
  }
}

void CheckCaptionFits(const QWidget& window) {
  const int need = CaptionNeed(window);
  QVERIFY2(window.frameGeometry().width() >= need,
           qPrintable(Named(&window) + " \"" + window.windowTitle() +
                      QString("\": %1 wide for %2").arg(window.frameGeometry().width()).arg(need)));
}

// Each legend entry is written whole: a label cut short ends in "...".
void CheckLegendShowsWhole(QChart& chart) {
  QStringList shown;
  QList<QGraphicsItem*> items = chart.legend()->childItems();
  while (!items.isEmpty()) {
    QGraphicsItem* item = items.takeFirst();
    items << item->childItems();
    if (auto* text = dynamic_cast<QGraphicsTextItem*>(item); text != nullptr && text->isVisible())
      shown << text->toPlainText();
  }
  const QList<QLegendMarker*> markers = chart.legend()->markers();
  QVERIFY(!markers.isEmpty());
  for (QLegendMarker* marker : markers) {
    QVERIFY2(shown.contains(marker->label()), qPrintable(marker->label() + " among " + shown.join(" | ")));
  }
}

void Show(QWidget& window) {
  window.show();
  QVERIFY2(QTest::qWaitForWindowExposed(&window), qPrintable(Named(&window)));
  QApplication::processEvents();
}

// Shows every page of a page control in turn and checks it.
void CheckPages(QWidget& window, QTabWidget* pages) {
  for (int i = 0; i < pages->count(); ++i) {
    if (!pages->isTabVisible(i)) continue;
    pages->setCurrentIndex(i);
    QApplication::processEvents();
    CheckTextsFit(window, pages->widget(i));
    if (QTest::currentTestFailed()) return;
  }
}

}  // namespace

class WindowTextsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { defaultFont_ = QApplication::font(); }
  void cleanup() {
    app_.reset();
    QApplication::setFont(defaultFont_);
  }

  void everyTextShowsWhole_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("pixels");
    const QStringList windows = {"Picture",      "Weight",   "Form1",       "AboutBox",    "Alignment",
                                 "LightMap",     "Progress", "PictureSize", "LightPerformance",
                                 "Gallery"};
    for (const QString& window : windows) {
      QTest::addRow("%s default font", qPrintable(window)) << window << 0;
      QTest::addRow("%s %d px", qPrintable(window), kLargeFontPixels) << window << kLargeFontPixels;
    }
  }

  void everyTextShowsWhole() {
    QFETCH(QString, window);
    QFETCH(int, pixels);
    QVERIFY(folder_.isValid());
    app_ = std::make_unique<BrilloraApp>(QDir(folder_.path()));
    app_->Start({});
    // The desktop's font changes while the program runs.
    if (pixels > 0) {
      QFont font = defaultFont_;
      font.setPixelSize(pixels);
      QApplication::setFont(font);
    }
    QWidget* shown = nullptr;
    for (QWidget* w : app_->Windows()) {
      if (w->objectName() == window) shown = w;
    }
    if (window == "LightPerformance") shown = &app_->LightPerformance();
    if (window == "Gallery") shown = &app_->Gallery();
    QVERIFY2(shown != nullptr, qPrintable(window));

    if (shown == &app_->Alignment()) {
      app_->Alignment().Act(ContentKind::DataSheet);
    } else if (shown == &app_->Progress()) {
      app_->Progress().ShowProgress(100);
    } else if (shown == &app_->PictureSize()) {
      app_->PictureSize().Prepare(ExportItem::File);
    }
    Show(*shown);
    CheckCaptionFits(*shown);
    CheckTextsFit(*shown, shown);

    if (shown == &app_->LightMap()) {
      // The picture mode shows the front and back pages, the zones mode the
      // zones page; the labels at their longest.
      shown->findChild<QSlider*>("BodyTrackBar")->setValue(30);
      shown->findChild<QSlider*>("TrackBarBGC")->setValue(100);
      for (const char* mode : {"CMButton", "UPButton"}) {
        QTest::mouseClick(shown->findChild<QToolButton*>(mode), Qt::LeftButton);
        CheckPages(*shown, shown->findChild<QTabWidget*>("PageControl"));
      }
    } else if (auto* pages = shown->findChild<QTabWidget*>()) {
      CheckPages(*shown, pages);
    }

    if (shown == &app_->LightPerformance()) {
      QSignalSpy tilt(&app_->LightPerformance(), &LightPerformanceWindow::tiltShown);
      QVERIFY(tilt.wait(120000));
      QApplication::processEvents();
      CheckTextsFit(*shown, shown);
      CheckLegendShowsWhole(*shown->findChild<QChartView*>("TiltChart")->chart());
    }
  }

 private:
  QFont defaultFont_;
  QTemporaryDir folder_;
  std::unique_ptr<BrilloraApp> app_;
};

QTEST_MAIN(WindowTextsTest)
#include "window_texts_test.moc"
