#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>

// Answers the message boxes that appear while it lives and records their texts.
class MessageCatcher : public QObject {
  Q_OBJECT

 public:
  explicit MessageCatcher(QObject* parent = nullptr);
  const QStringList& Texts() const { return texts_; }

 private:
  void Poll();

  QTimer timer_;
  QStringList texts_;
};
