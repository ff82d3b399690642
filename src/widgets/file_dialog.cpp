#include "widgets/file_dialog.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>

namespace brillora {

FileDialog::FileDialog(QWidget* parent, AcceptMode mode, const QString& name) : QFileDialog(parent) {
  setObjectName(name);
  setOption(DontUseNativeDialog);
  setAcceptMode(mode);
  if (mode == AcceptOpen) setFileMode(ExistingFile);
}

QString FileDialog::Target(const QString& chosen) const {
  return rule_ ? rule_(chosen, selectedNameFilter()) : chosen;
}

QString FileDialog::Ask() {
  if (exec() != Accepted || selectedFiles().isEmpty()) return {};
  const QString target = Target(selectedFiles().first());
  if (acceptMode() == AcceptSave) setDefaultSuffix(QFileInfo(target).suffix());
  return target;
}

void FileDialog::accept() {
  const QStringList chosen = selectedFiles();
  // A folder chosen is opened in the dialog rather than accepted.
  if (acceptMode() != AcceptSave || chosen.isEmpty() || QFileInfo(chosen.first()).isDir()) {
    QFileDialog::accept();
    return;
  }
  // The question is about the file the rule makes of the name as typed, which
  // is the one that gets replaced; the base dialog would ask about the other.
  const QString target = Target(chosen.first());
  const bool asks = !testOption(DontConfirmOverwrite);
  const QFileInfo existing(target);
  if (asks && existing.exists() && !existing.isDir() &&
      QMessageBox::warning(this, windowTitle(),
                           tr("%1 already exists.\nDo you want to replace it?").arg(existing.fileName()),
                           QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes) {
    return;
  }
  setOption(DontConfirmOverwrite, true);
  QFileDialog::accept();
  setOption(DontConfirmOverwrite, !asks);
}

void FileDialog::done(int result) {
  QFileDialog::done(result);
  // The list completing a typed path is a window of its own: closing the
  // dialog would leave it on the screen.
  for (QCompleter* completer : findChildren<QCompleter*>()) completer->popup()->hide();
}

QString ExtensionOfFilter(const QString& filter) {
  const QRegularExpressionMatch match = QRegularExpression(R"(\*\.(\w+))").match(filter);
  return match.hasMatch() ? match.captured(1) : QString();
}

QString WithFilterExtension(const QString& chosen, const QString& filter) {
  const QString extension = ExtensionOfFilter(filter);
  if (extension.isEmpty()) return chosen;
  QString name = chosen;
  const QString typed = QFileInfo(name).suffix();
  if (!typed.isEmpty()) name.chop(typed.size() + 1);
  return name + "." + extension;
}

}  // namespace brillora
