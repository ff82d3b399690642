#include "widgets/control_mirror.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStringList>
#include <QTabBar>

namespace brillora {

namespace {

QStringList Texts(const std::vector<std::string>& items) {
  QStringList texts;
  texts.reserve(static_cast<qsizetype>(items.size()));
  for (const std::string& item : items) texts << QString::fromStdString(item);
  return texts;
}

}  // namespace

void ShowText(QLabel* label, const std::string& text) {
  const QString shown = QString::fromStdString(text);
  if (label->text() != shown) label->setText(shown);
}

void ShowText(QLineEdit* edit, const std::string& text) {
  const QString shown = QString::fromStdString(text);
  if (edit->text() == shown) return;
  const QSignalBlocker quiet(edit);
  edit->setText(shown);
}

void ShowList(QComboBox* list, const std::vector<std::string>& items, int index) {
  const QStringList texts = Texts(items);
  QStringList shown;
  for (int i = 0; i < list->count(); ++i) shown << list->itemText(i);
  const QSignalBlocker quiet(list);
  if (shown != texts) {
    list->clear();
    list->addItems(texts);
  }
  // Selecting again would also rewrite an editable list's field under the user's cursor.
  const int wanted = texts.isEmpty() ? -1 : index;
  if (list->currentIndex() != wanted) list->setCurrentIndex(wanted);
}

void ShowList(QComboBox* list, const std::vector<std::string>& items, int index,
              const std::string& text) {
  ShowList(list, items, index);
  if (QLineEdit* edit = list->lineEdit()) ShowText(edit, text);
}

void ShowTabs(QTabBar* tabs, const std::vector<std::string>& items, int index) {
  const QSignalBlocker quiet(tabs);
  const int count = static_cast<int>(items.size());
  while (tabs->count() > count) tabs->removeTab(tabs->count() - 1);
  for (int i = 0; i < count; ++i) {
    const QString text = QString::fromStdString(items[static_cast<std::size_t>(i)]);
    if (i >= tabs->count()) {
      tabs->addTab(text);
    } else if (tabs->tabText(i) != text) {
      tabs->setTabText(i, text);
    }
  }
  if (count > 0) tabs->setCurrentIndex(index);
}

void ShowCurrentTab(QTabBar* tabs, int index) {
  const QSignalBlocker quiet(tabs);
  tabs->setCurrentIndex(index);
}

void ShowPosition(QAbstractSlider* bar, int minimum, int maximum, int position) {
  const QSignalBlocker quiet(bar);
  bar->setRange(minimum, maximum);
  bar->setValue(position);
}

void ShowValue(QDoubleSpinBox* spin, double minimum, double maximum, double value) {
  const QSignalBlocker quiet(spin);
  spin->setRange(minimum, maximum);
  spin->setValue(value);
}

void ShowValue(QSpinBox* spin, int minimum, int maximum, int value) {
  const QSignalBlocker quiet(spin);
  spin->setRange(minimum, maximum);
  spin->setValue(value);
}

void ShowChecked(QAbstractButton* box, bool checked) {
  const QSignalBlocker quiet(box);
  box->setChecked(checked);
}

}  // namespace brillora
