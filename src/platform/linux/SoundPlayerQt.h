#pragma once
// The sound channel on Qt Multimedia: one QSoundEffect, so a new sound always ends the old one.

#include "platform/SoundPlayer.h"

#include <QObject>
#include <QSoundEffect>

namespace platform {

class SoundPlayerQt final : public QObject, public SoundPlayer {
 public:
  explicit SoundPlayerQt(QString defaultAlert);

  void PlayOnce(const QString& file) override;
  void PlayLoop(const QString& file) override;
  void Stop() override;

  // What is playing or about to play, for the tests.
  QString CurrentFile() const;
  int CurrentLoops() const { return effect_.loopCount(); }

 private:
  void Start(const QString& file, int loops);
  void OnStatus();

  QString defaultAlert_;
  QSoundEffect effect_;
};

}  // namespace platform
