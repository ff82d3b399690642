#include "ui/sound_player.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

namespace brillora {

SoundPlayer::SoundPlayer(QDir folder, QObject* parent) : QObject(parent), folder_(std::move(folder)) {
  setObjectName("MediaPlayer1");
}

SoundPlayer::~SoundPlayer() = default;

QString SoundPlayer::FileFor(const QString& name) const { return folder_.filePath(name + ".wav"); }

void SoundPlayer::Sound(const QString& name) {
  if (name.isEmpty()) return;
  const QString file = FileFor(name);
  if (!QFileInfo(file).isFile()) return;
  if (!effect_) effect_ = std::make_unique<QSoundEffect>();
  effect_->setSource(QUrl::fromLocalFile(file));
  effect_->play();
  emit cuePlayed(name);
}

}  // namespace brillora
