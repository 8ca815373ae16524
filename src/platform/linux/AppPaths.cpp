#include "platform/AppPaths.h"

#include <QDir>

namespace platform {

QString RoamingAppDataFolder() {
  const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg)) return QDir::cleanPath(xdg);
  return QDir::cleanPath(qEnvironmentVariable("HOME", QDir::homePath()) + "/.config");
}

QString DataFolder() { return RoamingAppDataFolder() + "/Korvane/TalvenOrder"; }

}  // namespace platform
