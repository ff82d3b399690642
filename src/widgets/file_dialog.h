#pragma once

#include <QFileDialog>
#include <QString>
#include <functional>

namespace brillora {

// The file dialog of every window of the program. It is always the program's
// own dialog rather than the desktop's, so that these hold on every desktop:
// - the list that completes a typed name closes with the dialog;
// - a save dialog gives the chosen name the extension its rule asks for, and
//   asks before replacing the file that will really be written (unless it was
//   told not to ask), however the name was typed or chosen.
class FileDialog : public QFileDialog {
  Q_OBJECT

 public:
  // The file written for the name chosen under the filter chosen.
  using NameRule = std::function<QString(const QString& chosen, const QString& filter)>;

  FileDialog(QWidget* parent, AcceptMode mode, const QString& name);

  // For a save dialog; without a rule the chosen name is the file written.
  void SetNameRule(NameRule rule) { rule_ = std::move(rule); }

  // Runs the dialog modally: the file to open or to write, empty when the
  // dialog was cancelled. A save dialog then offers the extension of that
  // file as its default.
  QString Ask();

  void accept() override;
  void done(int result) override;

 private:
  QString Target(const QString& chosen) const;

  NameRule rule_;
};

// The extension of a filter such as "JPeg (*.jpg)": "jpg".
QString ExtensionOfFilter(const QString& filter);
// The rule of the program's own files: the extension follows the filter,
// whatever was typed ("Stone.bmp" under "JPeg (*.jpg)" is "Stone.jpg").
QString WithFilterExtension(const QString& chosen, const QString& filter);

}  // namespace brillora
