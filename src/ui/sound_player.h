#pragma once

#include <QDir>
#include <QObject>
#include <QString>
#include <memory>

class QSoundEffect;

namespace brillora {

// Plays the sound cues of the program from WAV files named after them in one
// folder. A cue without a file, and an empty name, play nothing.
class SoundPlayer : public QObject {
  Q_OBJECT

 public:
  SoundPlayer(QDir folder, QObject* parent = nullptr);
  ~SoundPlayer() override;

  // The file a cue would play.
  QString FileFor(const QString& name) const;
  void Sound(const QString& name);

 signals:
  // A cue whose file exists was handed to the player.
  void cuePlayed(const QString& name);

 private:
  QDir folder_;
  std::unique_ptr<QSoundEffect> effect_;  // made at the first cue that has a file
};

}  // namespace brillora
