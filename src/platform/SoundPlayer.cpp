#include "platform/SoundPlayer.h"

#include <QCoreApplication>
#include <QObject>
#include <QPointer>

#include <utility>

namespace platform {

namespace {

class SilentPlayer final : public SoundPlayer {
 public:
  void PlayOnce(const QString&) override {}
  void PlayLoop(const QString&) override {}
  void Stop() override {}
};

// Keeps the default player alive exactly as long as the application object.
class PlayerHolder final : public QObject {
 public:
  explicit PlayerHolder(QObject* app) : QObject(app), player(MakeSoundPlayer(DefaultAlertFile())) {}
  std::unique_ptr<SoundPlayer> player;
};

SoundPlayer* installed = nullptr;
QPointer<PlayerHolder> holder;

}  // namespace

QString DefaultAlertFile() {
  return QCoreApplication::applicationDirPath() + QStringLiteral("/sounds/default_alert.wav");
}

SoundPlayer& Sound() {
  if (installed) return *installed;
  if (!holder && QCoreApplication::instance()) holder = new PlayerHolder(QCoreApplication::instance());
  if (holder) return *holder->player;
  static SilentPlayer silent;
  return silent;
}

SoundPlayer* SetSoundPlayer(SoundPlayer* player) { return std::exchange(installed, player); }

}  // namespace platform
