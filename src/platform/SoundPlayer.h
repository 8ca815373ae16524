#pragma once
// The process's one sound channel: every call returns at once and the sound plays on; starting
// a sound ends the one playing. A missing or unreadable file plays our default alert instead.

#include <QString>

#include <memory>

namespace platform {

class SoundPlayer {
 public:
  virtual ~SoundPlayer() = default;
  virtual void PlayOnce(const QString& file) = 0;
  virtual void PlayLoop(const QString& file) = 0;  // until Stop or the next sound
  virtual void Stop() = 0;
};

// The platform's player, falling back to defaultAlert.
std::unique_ptr<SoundPlayer> MakeSoundPlayer(const QString& defaultAlert);

// The default alert installed with the program: program folder + "/sounds/default_alert.wav".
QString DefaultAlertFile();

// The installed player, else the platform's player made on first use and owned by the
// application object (no application object: a silent player).
SoundPlayer& Sound();
// Test seam: uses player (not owned) until replaced; nullptr returns to the default. Gives back
// the previous one.
SoundPlayer* SetSoundPlayer(SoundPlayer* player);

}  // namespace platform
