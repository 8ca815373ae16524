#include "platform/linux/SoundPlayerQt.h"

#include <QFileInfo>
#include <QUrl>

namespace platform {

std::unique_ptr<SoundPlayer> MakeSoundPlayer(const QString& defaultAlert) {
  return std::make_unique<SoundPlayerQt>(defaultAlert);
}

SoundPlayerQt::SoundPlayerQt(QString defaultAlert) : defaultAlert_(std::move(defaultAlert)) {
  connect(&effect_, &QSoundEffect::statusChanged, this, &SoundPlayerQt::OnStatus);
}

void SoundPlayerQt::PlayOnce(const QString& file) { Start(file, 1); }

void SoundPlayerQt::PlayLoop(const QString& file) { Start(file, QSoundEffect::Infinite); }

void SoundPlayerQt::Stop() { effect_.stop(); }

QString SoundPlayerQt::CurrentFile() const { return effect_.source().toLocalFile(); }

void SoundPlayerQt::Start(const QString& file, int loops) {
  effect_.stop();
  const QFileInfo info(file);
  const QString chosen = info.isFile() && info.isReadable() ? file : defaultAlert_;
  effect_.setSource(QUrl::fromLocalFile(chosen));
  effect_.setLoopCount(loops);
  effect_.play();  // a sound still loading starts as soon as it is ready
}

// A file that exists but does not decode plays the default alert, as a missing one does.
void SoundPlayerQt::OnStatus() {
  if (effect_.status() != QSoundEffect::Error || CurrentFile() == defaultAlert_) return;
  effect_.setSource(QUrl::fromLocalFile(defaultAlert_));
  effect_.play();
}

}  // namespace platform
