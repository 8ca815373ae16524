#include "settings/SoundFiles.h"

#include "platform/AppPaths.h"

#include <QStringList>

namespace {

QString FileName(int choice, bool once) {
  const QString number = choice == 1 ? QString() : QString::number(choice);
  return (once ? QStringLiteral("/once_sound") : QStringLiteral("/sound")) + number +
         QStringLiteral(".wav");
}

}  // namespace

QString SoundFilePath(int choice, int repeat) {
  if (choice < 1 || choice > 7) return {};
  return platform::DataFolder() + FileName(choice, repeat == 0);
}

QStringList SoundFileNames() {
  QStringList names;
  for (int choice = 1; choice <= 7; ++choice) {
    names << FileName(choice, true) << FileName(choice, false);
  }
  return names;
}
