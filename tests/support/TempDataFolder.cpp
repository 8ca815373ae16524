#include "TempDataFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

#include "platform/AppPaths.h"

TempDataFolder::TempDataFolder(bool createDataFolder)
    : oldHome_(qgetenv("HOME")), oldXdg_(qgetenv("XDG_CONFIG_HOME")),
      hadXdg_(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")) {
  if (!dir_.isValid()) throw std::runtime_error("cannot make a temporary folder");
  qputenv("HOME", dir_.path().toUtf8());
  qputenv("XDG_CONFIG_HOME", (dir_.path() + "/.config").toUtf8());
  if (createDataFolder) QDir().mkpath(dataFolder());
}

TempDataFolder::~TempDataFolder() {
  qputenv("HOME", oldHome_);
  if (hadXdg_)
    qputenv("XDG_CONFIG_HOME", oldXdg_);
  else
    qunsetenv("XDG_CONFIG_HOME");
}

QString TempDataFolder::dataFolder() const { return platform::DataFolder(); }

QString TempDataFolder::file(const QString& name) const { return dataFolder() + "/" + name; }

void TempDataFolder::writeFile(const QString& name, const QByteArray& content) const {
  const QString path = file(name);
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(content) != content.size())
    throw std::runtime_error("cannot write " + path.toStdString());
}

QByteArray TempDataFolder::readFile(const QString& name) const {
  QFile f(file(name));
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
