#include "modal_answers.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>

ModalAnswers::ModalAnswers(std::vector<Answer> answers) : answers_(std::move(answers)) {
  connect(&timer_, &QTimer::timeout, this, [this] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || next_ >= answers_.size() || !answers_[next_].fits(modal)) return;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) texts << box->text();
    answers_[next_++].give(modal);
  });
  timer_.start(5);
}

Answer Press(QMessageBox::StandardButton button) {
  return {[](QWidget* modal) { return qobject_cast<QMessageBox*>(modal) != nullptr; },
          [button](QWidget* modal) { static_cast<QMessageBox*>(modal)->button(button)->click(); }};
}

Answer InFileDialog(std::function<void(QFileDialog&)> work) {
  return {[](QWidget* modal) { return qobject_cast<QFileDialog*>(modal) != nullptr; },
          [work](QWidget* modal) {
            auto* dialog = static_cast<QFileDialog*>(modal);
            QTimer::singleShot(0, dialog, [dialog, work] { work(*dialog); });
          }};
}

Answer TypeName(const QString& filter, const QString& name) {
  return InFileDialog([filter, name](QFileDialog& dialog) {
    if (!filter.isEmpty()) dialog.selectNameFilter(filter);
    auto* field = dialog.findChild<QLineEdit*>("fileNameEdit");
    QVERIFY(field != nullptr);
    // The name field has the keyboard, as on a desktop; a dialog that is not
    // active takes the typed text as a selection of files instead.
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, name);
    QTest::keyClick(field, Qt::Key_Return);
  });
}

Answer CancelDialog() {
  return InFileDialog([](QFileDialog& dialog) { dialog.reject(); });
}

Answer Close(QDialog& window) {
  return {[&window](QWidget* modal) { return modal == &window; },
          [&window](QWidget*) { QTimer::singleShot(0, &window, [&window] { window.reject(); }); }};
}

void DropFiles(QWidget* target, const QStringList& files) {
  QMimeData data;
  QList<QUrl> urls;
  for (const QString& f : files) urls << QUrl::fromLocalFile(f);
  data.setUrls(urls);
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
}

bool RunUntilTheEnd(int limitMs) {
  bool ranOut = false;
  QTimer limit;
  limit.setSingleShot(true);
  QObject::connect(&limit, &QTimer::timeout, [&ranOut] {
    ranOut = true;
    // Not quit(), which would close the windows, and so ask, first.
    QCoreApplication::exit(0);
  });
  limit.start(limitMs);
  QApplication::exec();
  return !ranOut;
}
