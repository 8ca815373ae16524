#include "platform/SoundPlayer.h"
#include "platform/linux/SoundPlayerQt.h"
#include "settings/SoundAlerts.h"
#include "settings/SoundFiles.h"
#include "support/TempDataFolder.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QSignalSpy>
#include <QSoundEffect>
#include <QTest>
#include <QUrl>

namespace {

class RecordingPlayer final : public platform::SoundPlayer {
 public:
  void PlayOnce(const QString& file) override { calls << "once " + file; }
  void PlayLoop(const QString& file) override { calls << "loop " + file; }
  void Stop() override { calls << "stop"; }
  QStringList calls;
};

class Alerts : public testing::Test {
 protected:
  Alerts() { previous_ = platform::SetSoundPlayer(&player); }
  ~Alerts() override { platform::SetSoundPlayer(previous_); }
  TempDataFolder tmp;
  RecordingPlayer player;

 private:
  platform::SoundPlayer* previous_;
};

TEST_F(Alerts, RepeatModeChoosesLoopOrOnce) {
  PlayAlert("/a.wav", 0);
  PlayAlert("/b.wav", 1);
  PlayAlert("/c.wav", 2);
  PlayAlert("", 2);
  StopAlert();
  EXPECT_EQ(player.calls, QStringList({"once /a.wav", "once /b.wav", "loop /c.wav", "stop"}));
}

TEST_F(Alerts, PreviewPlaysTheOnceFileOnce) {
  PlayPreview(3);
  PlayPreview(0);
  PlayPreview(8);
  EXPECT_EQ(player.calls, QStringList({"once " + tmp.dataFolder() + "/once_sound3.wav"}));
}

const QString kSounds = QStringLiteral(TALVEN_BIN_DIR "/sounds");

TEST(SoundPlayerQt, NewSoundReplacesTheOldAndMissingFilesFallBack) {
  TempDataFolder tmp;
  platform::SoundPlayerQt player(kSounds + "/default_alert.wav");
  player.PlayLoop(kSounds + "/sound2.wav");
  EXPECT_EQ(player.CurrentFile(), kSounds + "/sound2.wav");
  EXPECT_EQ(player.CurrentLoops(), QSoundEffect::Infinite);

  player.PlayOnce(kSounds + "/once_sound5.wav");
  EXPECT_EQ(player.CurrentFile(), kSounds + "/once_sound5.wav");
  EXPECT_EQ(player.CurrentLoops(), 1);

  player.PlayLoop(tmp.file("missing.wav"));
  EXPECT_EQ(player.CurrentFile(), kSounds + "/default_alert.wav");
  EXPECT_EQ(player.CurrentLoops(), QSoundEffect::Infinite);

  // A file that exists but holds no sound is found out while loading.
  tmp.writeFile("broken.wav", "RIFF....not a wave at all");
  player.PlayOnce(tmp.file("broken.wav"));
  QTRY_COMPARE_WITH_TIMEOUT(player.CurrentFile(), kSounds + "/default_alert.wav", 5000);
  player.Stop();
}

TEST(SoundFilesInstalled, EveryAlertDecodes) {
  QStringList names = SoundFileNames();
  names << "/default_alert.wav";
  for (const QString& name : names) {
    QSoundEffect effect;
    effect.setSource(QUrl::fromLocalFile(kSounds + name));
    QTRY_VERIFY_WITH_TIMEOUT(effect.status() != QSoundEffect::Loading && effect.status() != QSoundEffect::Null, 5000);
    EXPECT_EQ(effect.status(), QSoundEffect::Ready) << name.toStdString();
  }
}

TEST(SoundFilesInstalled, MissingOnesAreCopiedOwnOnesKept) {
  TempDataFolder tmp(false);
  tmp.writeFile("sound.wav", "the shop's own alert");
  EXPECT_EQ(InstallMissingSounds(), 13);
  EXPECT_EQ(tmp.readFile("sound.wav"), "the shop's own alert");
  for (const QString& name : SoundFileNames()) {
    if (name == "/sound.wav") continue;
    QFile shipped(kSounds + name);
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly)) << name.toStdString();
    EXPECT_EQ(tmp.readFile(name.mid(1)), shipped.readAll()) << name.toStdString();
  }
  EXPECT_EQ(InstallMissingSounds(), 0);
}

}  // namespace
