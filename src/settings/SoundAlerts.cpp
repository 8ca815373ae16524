#include "settings/SoundAlerts.h"

#include "diag/SupportRoutines.h"
#include "diag/TDebugWindow.h"
#include "platform/AppPaths.h"
#include "platform/SoundPlayer.h"
#include "settings/SoundFiles.h"

#include <QDir>
#include <QFile>

void PlayAlert(const QString& file, int repeat) {
  if (file.isEmpty()) return;
  if (repeat == 2)
    platform::Sound().PlayLoop(file);
  else
    platform::Sound().PlayOnce(file);
}

void StopAlert() { platform::Sound().Stop(); }

void PlayPreview(int choice) {
  const QString file = SoundFilePath(choice, 0);
  if (!file.isEmpty()) platform::Sound().PlayOnce(file);
}

int InstallMissingSounds() {
  const QString from = ProgramFolder() + QStringLiteral("sounds");
  const QString to = platform::DataFolder();
  if (!QDir().mkpath(to)) {
    TDebugWindow::Add(QStringLiteral("InstallMissingSounds err : cannot create ") + to);
    return 0;
  }
  int copied = 0;
  for (const QString& name : SoundFileNames()) {
    if (QFile::exists(to + name)) continue;
    // Copy under a temporary name first so a half-copied alert never looks installed.
    const QString part = to + name + QStringLiteral(".part");
    QFile::remove(part);
    if (QFile::copy(from + name, part) && QFile::rename(part, to + name)) {
      ++copied;
    } else {
      QFile::remove(part);
      TDebugWindow::Add(QStringLiteral("InstallMissingSounds err : cannot copy ") + from + name);
    }
  }
  return copied;
}
