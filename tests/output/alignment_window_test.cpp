#include "alignment_window_test.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <QApplication>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <cstring>

#include "message_catcher.h"
#include "output/alignment_window.h"
#include "output/system_printer.h"
#include "output_fixture.h"
#include "ui/brillora_app.h"
#include "ui/design_window.h"
#include "view/picture_window.h"

using namespace brillora;

namespace {

// A printer that is not there.
class NoPrinter : public ImagePrintTarget {
 public:
  NoPrinter() : ImagePrintTarget(QPageSize(QPageSize::A4), 600, 600) {}
  std::optional<PrinterMetrics> Metrics() const override { return std::nullopt; }
};

struct PrintWindow {
  explicit PrintWindow(QPageSize page = QPageSize(QPageSize::A4), int dpi = 600) : target(page, dpi, dpi) {}
  OutputFixture fixture;
  ImagePrintTarget target;
  QStringList sounds;
  int setups = 0;
  AlignmentWindow window{target, [this](QWidget*) { return ++setups > 0; },
                         [this] {
                           return SheetSubject{fixture.Request(0, 0), fixture.State().CrownSteps,
                                               fixture.State().PavilionSteps, 2.417};
                         },
                         [this](const QString& name) { sounds << name; }};

  template <typename T>
  T* Find(const char* name) {
    return window.findChild<T*>(name);
  }
  QDoubleSpinBox* Field(const char* name) { return Find<QDoubleSpinBox>(name); }
  // Opens the window and gives it the keyboard, as a click on it would.
  void Open(ContentKind kind) {
    window.Act(kind);
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
  }
  QWidget* Box() { return Find<QWidget>("PaintBox1"); }
  // Types a value into a field and presses Enter.
  void Type(const char* name, const QString& text) {
    QDoubleSpinBox* field = Field(name);
    field->setFocus();
    QTRY_VERIFY(field->hasFocus());
    field->findChild<QLineEdit*>()->selectAll();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
  }
};

void Mouse(QWidget* on, QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
  QMouseEvent event(type, QPointF(at), on->mapToGlobal(QPointF(at)),
                    type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
  QApplication::sendEvent(on, &event);
}

int Ink(const QImage& page, const QRect& area) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); y += 4)
    for (int x = area.left(); x <= area.right(); x += 4) count += page.pixel(x, y) != qRgb(255, 255, 255);
  return count;
}

// What pdfinfo reads of a PDF file.
QString PdfInfo(const QString& file) {
  QProcess pdfinfo;
  pdfinfo.start("pdfinfo", {file});
  pdfinfo.waitForFinished();
  return QString::fromUtf8(pdfinfo.readAllStandardOutput());
}

QByteArray FileBytes(const QString& file) {
  QFile f(file);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

void AlignmentWindowTest::firstOpeningOnA4() {
  PrintWindow p;
  p.Open(ContentKind::DataSheet);
  QVERIFY(p.window.isVisible());
  QCOMPARE(p.window.windowTitle(), QString("Alignment picture in the paper"));
  QVERIFY(p.window.windowFlags() & Qt::WindowStaysOnTopHint);
  QCOMPARE(p.sounds, QStringList({"Block"}));
  // 238 x 337: the paper's proportions; the first square 190 x 190 at (24, 34).
  QCOMPARE(p.Find<QFrame>("Panel5")->geometry(), QRect(8, 8, 238, 337));
  QCOMPARE(p.Box()->geometry(), QRect(24, 34, 190, 190));
  QCOMPARE(p.window.width(), 238 + AlignmentWindow::kPanelWidth + 24);
  QCOMPARE(p.window.height(), 353);
  QCOMPARE(p.Find<QLabel>("PrinterLine")->text(), QString("Picture of the page"));
  QCOMPARE(p.Find<QLabel>("LabelEd1")->text(), QString("16.7"));
  QCOMPARE(p.Find<QLabel>("LabelEd3")->text(), QString(" 3.0"));
  QCOMPARE(p.Field("SEdit3")->value(), 10.09);  // 34 of 337
  QCOMPARE(p.Field("SEdit6")->value(), 33.53);  // 113 of 337
  QCOMPARE(p.Field("SEdit1")->value(), 79.83);  // 190 of 238
  QVERIFY(p.Find<QLabel>("MarginsHeading")->font().bold());
  QCOMPARE(p.Find<QLabel>("SizeHeading")->text(), QString("Size"));
  for (const char* name : {"SEdit3", "SEdit4", "SEdit5", "SEdit6"}) QCOMPARE(p.Field(name)->minimum(), 0.0);
  for (const char* name : {"SEdit1", "SEdit2"}) QCOMPARE(p.Field(name)->minimum(), 2.0);
  QCOMPARE(p.Find<QSpinBox>("SEditCopy")->maximum(), 999);
  QCOMPARE(p.Find<QSpinBox>("SEditCopy")->value(), 1);
  for (const char* name : {"Properties", "ZoomX", "ZoomY", "OK", "Cancel"}) QVERIFY(p.Find<QPushButton>(name));
  QCOMPARE(p.Find<QPushButton>("Properties")->text(), QString("Printer properties"));
  QCOMPARE(p.Find<QCheckBox>("CheckBox1")->text(), QString("Center X"));
  // Light blue fields, light yellow while focused.
  QDoubleSpinBox* top = p.Field("SEdit3");
  QCOMPARE(top->palette().color(QPalette::Base), QColor(240, 250, 255));
  top->setFocus();
  QTRY_VERIFY(top->hasFocus());
  QCOMPARE(top->palette().color(QPalette::Base), QColor(255, 255, 128));
  p.Field("SEdit4")->setFocus();
  QTRY_COMPARE(top->palette().color(QPalette::Base), QColor(240, 250, 255));
  // The preview shows the sheet inside its frame, whose four dotted edges show.
  const QImage shown = p.Box()->grab().toImage();
  QVERIFY(Ink(shown, QRect(4, 10, 80, 80)) > 50);
  for (const QRect& edge : {QRect(0, 0, 190, 1), QRect(0, 189, 190, 1), QRect(0, 0, 1, 190), QRect(189, 0, 1, 190)}) {
    int dots = 0;
    for (int y = edge.top(); y <= edge.bottom(); ++y)
      for (int x = edge.left(); x <= edge.right(); ++x) dots += shown.pixel(x, y) == QColor(Qt::gray).rgb();
    QVERIFY2(dots > 40, qPrintable(QString("%1 dots at %2, %3").arg(dots).arg(edge.x()).arg(edge.y())));
  }

  // "Printer properties" runs the setup and measures the page again; the
  // rectangle keeps its pixels.
  QTest::mouseClick(p.Find<QPushButton>("Properties"), Qt::LeftButton);
  QCOMPARE(p.setups, 1);
  QCOMPARE(p.Box()->geometry(), QRect(24, 34, 190, 190));
  QCOMPARE(p.window.Page().width, 238);

  // Reopened with the other item: the rectangle stays, the content changes.
  p.window.hide();
  p.Open(ContentKind::Image);
  QCOMPARE(p.window.Kind(), ContentKind::Image);
  QCOMPARE(p.Box()->geometry(), QRect(24, 34, 190, 190));
}

void AlignmentWindowTest::absentPrinterShowsNoWindow() {
  OutputFixture fixture;
  NoPrinter none;
  AlignmentWindow window{none, {}, [&] { return SheetSubject{fixture.Request(0, 0), {}, {}, 1.5}; }, {}};
  MessageCatcher catcher;
  window.Act(ContentKind::DataSheet);
  QTRY_COMPARE(catcher.Texts(), QStringList({"Printer is absent!"}));
  QVERIFY(!window.isVisible());
}

void AlignmentWindowTest::mouseZonesAndDragging() {
  PrintWindow p;
  p.Open(ContentKind::Image);
  QWidget* box = p.Box();
  QWidget* page = p.Find<QFrame>("Panel5");
  // Over the top edge: vertical arrows and the top margin field.
  Mouse(box, QEvent::MouseMove, {95, 3}, Qt::NoButton);
  QCOMPARE(box->cursor().shape(), Qt::SizeVerCursor);
  QTRY_VERIFY(p.Field("SEdit3")->hasFocus());
  Mouse(box, QEvent::MouseMove, {3, 95}, Qt::NoButton);
  QCOMPARE(box->cursor().shape(), Qt::SizeHorCursor);
  QTRY_VERIFY(p.Field("SEdit4")->hasFocus());
  Mouse(box, QEvent::MouseMove, {186, 3}, Qt::NoButton);
  QCOMPARE(box->cursor().shape(), Qt::SizeBDiagCursor);
  Mouse(box, QEvent::MouseMove, {95, 95}, Qt::NoButton);
  QCOMPARE(box->cursor().shape(), Qt::SizeAllCursor);
  QTRY_VERIFY(page->hasFocus());

  // The top edge dragged below the bottom stops 5 pixels above it.
  Mouse(box, QEvent::MouseButtonPress, {95, 3}, Qt::LeftButton);
  Mouse(box, QEvent::MouseMove, {95, 300}, Qt::LeftButton);
  QCOMPARE(p.window.Rect(), (PageRect{24, 224 - 5, 214, 224}));
  Mouse(box, QEvent::MouseButtonRelease, {95, 300}, Qt::NoButton);
  QCOMPARE(p.Box()->geometry(), QRect(24, 219, 190, 5));

  // The middle moves the frame; positions on the page count from its corner.
  Mouse(page, QEvent::MouseButtonPress, {24 + 95, 219 + 2}, Qt::LeftButton);
  QCOMPARE(p.window.Rect(), (PageRect{24, 219, 214, 224}));
  Mouse(page, QEvent::MouseMove, {24 + 95 - 10, 219 + 2 - 100}, Qt::LeftButton);
  QCOMPARE(p.window.Rect(), (PageRect{14, 119, 204, 124}));
  Mouse(page, QEvent::MouseButtonRelease, {0, 0}, Qt::NoButton);
  // The fields follow the frame.
  QCOMPARE(p.Field("SEdit3")->value(), 35.31);  // 119 of 337
}

void AlignmentWindowTest::typedMarginsAreLimited() {
  PrintWindow p;
  p.Open(ContentKind::DataSheet);
  p.Type("SEdit6", "45");
  QCOMPARE(p.Field("SEdit6")->value(), 45.0);
  QCOMPARE(p.window.Rect().bottom, 185);  // 55 % of 337
  p.Type("SEdit3", "60");
  QCOMPARE(p.Field("SEdit3")->value(), 53.0);
  QCOMPARE(p.window.Rect().top, 179);  // 53 % of 337
  // The width field takes its growth from both side margins.
  p.Type("SEdit1", "90");
  QCOMPARE(p.Field("SEdit1")->value(), 90.0);
  QCOMPARE(p.window.Rect().left, 12);    // 10.08 - 5.09 = 4.99 % of 238
  QCOMPARE(p.window.Rect().right, 226);  // 238 - 4.99 % of it
}

void AlignmentWindowTest::centringAndZooming() {
  // A page of 300 x 337 preview pixels.
  PrintWindow p(QPageSize(QSizeF(3.0, 3.37), QPageSize::Inch), 100);
  p.Open(ContentKind::Image);
  QCOMPARE(p.window.Page().width, 300);
  p.Type("SEdit4", "6.67");
  p.Type("SEdit5", "33.33");
  QCOMPARE(p.window.Rect().left, 20);
  QCOMPARE(p.window.Rect().right, 200);
  p.Find<QCheckBox>("CheckBox1")->click();
  QCOMPARE(p.window.Rect().left, 60);
  QCOMPARE(p.window.Rect().right, 240);
  p.Find<QCheckBox>("CheckBox1")->click();
  QTest::mouseClick(p.Find<QPushButton>("ZoomX"), Qt::LeftButton);
  QCOMPARE(p.window.Rect().left, 0);
  QCOMPARE(p.window.Rect().right, 300);
  QTest::mouseClick(p.Find<QPushButton>("ZoomY"), Qt::LeftButton);
  QCOMPARE(p.window.Rect(), (PageRect{0, 0, 300, 337}));
  QCOMPARE(p.Field("SEdit1")->value(), 100.0);
  QCOMPARE(p.Find<QLabel>("LabelEd2")->text(), QString(" 8.6"));  // 3.37 in
}

void AlignmentWindowTest::twoCopiesAreTwoJobs() {
  PrintWindow p;
  p.Open(ContentKind::DataSheet);
  p.Find<QSpinBox>("SEditCopy")->setValue(2);
  QSignalSpy closed(&p.window, &AlignmentWindow::closed);
  QTest::mouseClick(p.Find<QPushButton>("OK"), Qt::LeftButton);
  QCOMPARE(p.target.Titles(), QStringList({"Brillora 1", "Brillora 2"}));
  QCOMPARE(p.target.Pages().size(), std::size_t{2});
  QVERIFY(!p.window.isVisible());
  QCOMPARE(closed.count(), 1);
  QVERIFY(QApplication::overrideCursor() == nullptr);
  QCOMPARE(p.sounds, QStringList({"Block", "Type"}));
  // The square of (24, 34, 190 x 190) preview pixels, in printer pixels.
  const QImage& page = p.target.Pages().front();
  const double k = 7016.0 / 337;
  const QRect printed(qRound(24 * k), qRound(34 * k), qRound(190 * k), qRound(190 * k));
  QVERIFY(Ink(page, printed.adjusted(100, 100, -printed.width() / 2, -printed.height() / 2)) > 1000);
  QCOMPARE(Ink(page, QRect(0, 0, page.width(), printed.top() - 4)), 0);
  QCOMPARE(Ink(page, QRect(0, printed.bottom() + 4, page.width(), page.height() - printed.bottom() - 5)), 0);
  QCOMPARE(Ink(page, QRect(printed.right() + 100, 0, page.width() - printed.right() - 101, page.height())), 0);
}

void AlignmentWindowTest::resizingScalesThePage() {
  PrintWindow p;
  p.Open(ContentKind::DataSheet);
  const QSize before = p.window.size();
  p.window.resize(before + QSize(60, 200));
  QTRY_VERIFY(p.window.height() > before.height());
  const PageGeometry& page = p.window.Page();
  QCOMPARE(page.height, p.window.height() - 16);
  QVERIFY(std::abs(page.width - page.height * 4961.0 / 7016) < 1.0);
  QCOMPARE(p.window.width(), page.width + AlignmentWindow::kPanelWidth + 24);
  // The rectangle keeps its margins on the larger page.
  QCOMPARE(p.window.Rect().left, qRound(p.Field("SEdit4")->value() / 100 * page.width));
  // Never lower than 353.
  p.window.resize(p.window.width() - 300, 100);
  QTRY_COMPARE(p.window.height(), 353);
}

void AlignmentWindowTest::menuItemsPrintToPdfWithoutAPrinter() {
  if (!QPrinterInfo::availablePrinterNames().isEmpty()) QSKIP("a system printer is installed here");
  QTemporaryDir folder;
  BrilloraApp app{QDir(folder.path())};
  app.Start({});
  AlignmentWindow& window = app.Alignment();
  app.Design().Menu().Data1->trigger();
  QVERIFY(window.isVisible());
  QCOMPARE(window.Kind(), ContentKind::DataSheet);
  QCOMPARE(window.findChild<QLabel*>("PrinterLine")->text(), QString("PDF file (no printer installed)"));
  // While the window shows, its preview follows the picture.
  app.Design().Menu().Image2->trigger();
  QCOMPARE(window.Kind(), ContentKind::Image);
  const QImage crown = window.findChild<QWidget*>("PaintBox1")->grab().toImage();
  app.Picture().Rotate();
  QTRY_VERIFY(window.findChild<QWidget*>("PaintBox1")->grab().toImage() != crown);

  // Two copies into a file are two pages of it.
  window.findChild<QSpinBox*>("SEditCopy")->setValue(2);
  const QString file = folder.filePath("page.pdf");
  QTimer::singleShot(0, [&] {
    window.PdfDialog().selectFile(file);
    QMetaObject::invokeMethod(&window.PdfDialog(), "accept");
  });
  QTest::mouseClick(window.findChild<QPushButton*>("OK"), Qt::LeftButton);
  QVERIFY(!window.isVisible());
  QVERIFY(app.Picture().Rebuild());
  QFile pdf(file);
  QVERIFY(pdf.open(QIODevice::ReadOnly));
  QCOMPARE(pdf.read(5), QByteArray("%PDF-"));
  const QString info = PdfInfo(file);
  QVERIFY2(info.contains(QRegularExpression("Pages:\\s+2\\n")), qPrintable(info));
  QVERIFY2(info.contains(QRegularExpression("Title:\\s+Brillora 1\\n")), qPrintable(info));
}

void AlignmentWindowTest::firstOpeningStandsInTheMiddle() {
  QTemporaryDir folder;
  BrilloraApp app{QDir(folder.path())};
  app.Start({});
  AlignmentWindow& window = app.Alignment();
  app.Design().Menu().Data1->trigger();
  // Centred at the size the first opening gave it, as it shows, and still
  // there once the desktop framed it.
  const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
  const QRect frame = window.frameGeometry();
  QVERIFY2((frame.center() - available.center()).manhattanLength() <= 2,
           qPrintable(QString("%1, %2 %3 x %4").arg(frame.x()).arg(frame.y()).arg(frame.width()).arg(frame.height())));
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QTest::qWait(20);  // whatever the placement does once the window is exposed
  QCOMPARE(window.frameGeometry(), frame);
  // Later openings keep the place the user gave it.
  window.move(window.pos() + QPoint(-30, 20));
  const QPoint moved = window.pos();
  QTest::mouseClick(window.findChild<QPushButton*>("Cancel"), Qt::LeftButton);
  app.Design().Menu().Image2->trigger();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QTest::qWait(20);
  QCOMPARE(window.pos(), moved);
}

// Printing to a PDF file keeps the rules of every save of the program: links
// are followed, FIFOs, devices and files the user may not write are never
// replaced, a replaced file keeps its permissions, and a failed write gives the
// system's reason and leaves the old file as it was.
void AlignmentWindowTest::pdfOutputKeepsTheSaveRules() {
  SystemPrinter printer;
  if (!printer.AsksForFile()) QSKIP("a system printer is installed here");
  QTemporaryDir folder;
  const QDir dir(folder.path());
  const auto print = [&](const QString& file) {
    printer.SetFile(file);
    return PrintCopies(printer, 2, [](QPainter& page) { page.drawLine(0, 0, 400, 400); });
  };
  const auto old = [](const QString& file, QFile::Permissions mode) {
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("old");
    f.close();
    QVERIFY(f.setPermissions(mode));
  };
  const QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner;

  // Through a link: the target is replaced, keeps its mode, and the link stays.
  QVERIFY(dir.mkdir("real"));
  old(dir.filePath("real/target.pdf"), ownerOnly);
  QVERIFY(QFile::link("real/target.pdf", dir.filePath("link.pdf")));
  QCOMPARE(print(dir.filePath("link.pdf")), QString());
  QVERIFY(QFileInfo(dir.filePath("link.pdf")).isSymLink());
  QCOMPARE(FileBytes(dir.filePath("real/target.pdf")).left(5), QByteArray("%PDF-"));
  QCOMPARE(QFile::permissions(dir.filePath("real/target.pdf")) & QFile::Permissions(0x7077), ownerOnly);
  QVERIFY(PdfInfo(dir.filePath("link.pdf")).contains(QRegularExpression("Pages:\\s+2\\n")));
  QCOMPARE(QDir(dir.filePath("real")).entryList(QDir::Files | QDir::Hidden), QStringList{"target.pdf"});

  // A FIFO and a device, also through links: refused, left as they are. The
  // device is the test's own where it may make one, else the system's, which
  // only the superuser could replace.
  const QString fifo = dir.filePath("fifo.pdf");
  QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  QString device = dir.filePath("null.pdf");
  if (::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0) device.clear();
  QVERIFY(QFile::link("fifo.pdf", dir.filePath("to-fifo.pdf")));
  QVERIFY(QFile::link(device.isEmpty() ? "/dev/null" : device, dir.filePath("to-null.pdf")));
  QStringList refused = {fifo, dir.filePath("to-fifo.pdf"), dir.filePath("to-null.pdf")};
  if (!device.isEmpty()) refused << device;
  for (const QString& file : refused) {
    QCOMPARE(print(file), "Cannot write " + file + ": Existing file " + file + " is not a regular file");
  }
  QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
  QVERIFY(QFileInfo(dir.filePath("to-null.pdf")).isSymLink());

  // A file the user may not write.
  const QString locked = dir.filePath("locked.pdf");
  const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
  old(locked, readOnly);
  QCOMPARE(print(locked), "Cannot write " + locked + ": Existing file " + locked + " is not writable");
  QCOMPARE(FileBytes(locked), QByteArray("old"));
  QCOMPARE(QFile::permissions(locked) & QFile::Permissions(0x7077), readOnly);

  // A file size limit stands in for a full disk.
  const QString full = dir.filePath("full.pdf");
  old(full, ownerOnly);
  rlimit before{};
  QCOMPARE(::getrlimit(RLIMIT_FSIZE, &before), 0);
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = before;
  small.rlim_cur = 64;
  QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const QString failure = print(full);
  ::setrlimit(RLIMIT_FSIZE, &before);
  std::signal(SIGXFSZ, previous);
  QCOMPARE(failure, "Cannot write " + full + ": " + QString::fromLocal8Bit(std::strerror(EFBIG)));
  QCOMPARE(FileBytes(full), QByteArray("old"));
  QVERIFY(dir.entryList(QDir::Files | QDir::Hidden | QDir::System).filter(".brillora-").isEmpty());
}

void AlignmentWindowTest::toleranceColumnOnlyWhenChecked() {
  OutputFixture fixture;
  ImagePrintTarget target(QPageSize(QPageSize::A4), 100, 100);
  AlignmentWindow window{target, [](QWidget*) { return true; },
                         [&] {
                           return SheetSubject{fixture.Request(0, 0), fixture.State().CrownSteps,
                                               fixture.State().PavilionSteps, 2.42, fixture.State().SymOrder};
                         },
                         {}};
  window.Act(ContentKind::DataSheet);
  auto* box = window.findChild<QCheckBox*>("ToleranceBox");
  QVERIFY(box != nullptr);
  QVERIFY(!box->isChecked());
  QVERIFY(!window.Subject(false).tolerances.has_value());
  QTest::mouseClick(window.findChild<QPushButton*>("OK"), Qt::LeftButton);
  QCOMPARE(target.Pages().size(), std::size_t{1});

  QSignalSpy shown(&window, &AlignmentWindow::tolerancesShown);
  box->setChecked(true);
  window.findChild<QWidget*>("PaintBox1")->repaint();
  QVERIFY(shown.count() > 0 || shown.wait(60000));
  const SheetSubject subject = window.Subject(false);
  QVERIFY(subject.tolerances.has_value());
  // The typed slopes of the design each have their cost.
  int costs = 0;
  for (const auto* side : {&subject.tolerances->crown, &subject.tolerances->pavilion}) {
    for (const std::optional<double>& cost : *side) costs += cost.has_value() ? 1 : 0;
  }
  QVERIFY(costs >= 2);
  window.Act(ContentKind::DataSheet);
  QTest::mouseClick(window.findChild<QPushButton*>("OK"), Qt::LeftButton);
  QCOMPARE(target.Pages().size(), std::size_t{2});
  QVERIFY(target.Pages()[0] != target.Pages()[1]);
}
