#include "settings/ConfigIniStore.h"

#include "platform/AppPaths.h"
#include "settings/AtomicFile.h"
#include "settings/IniWriteError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString ConfigIniStore::DefaultPath() { return platform::DataFolder() + QStringLiteral("/config.ini"); }

ConfigIniStore::ConfigIniStore(QString path) : path_(std::move(path)) {
  QFile f(path_);
  if (f.open(QIODevice::ReadOnly)) doc_ = IniDocument::Parse(f.readAll());
}

QString ConfigIniStore::ReadString(const QString& section, const QString& key, const QString& def) const {
  return doc_.Value(section, key).value_or(def);
}

int ConfigIniStore::ReadInteger(const QString& section, const QString& key, int def) const {
  const auto text = doc_.Value(section, key);
  return text ? ParseIniInteger(*text, def) : def;
}

void ConfigIniStore::WriteString(const QString& section, const QString& key, const QString& value) {
  CheckIniEntry(path_, section, key, value);
  IniDocument next = doc_;
  next.SetValue(section, key, value);
  const QString folder = QFileInfo(path_).absolutePath();
  if (!QDir().mkpath(folder)) throw IniWriteError(path_, QStringLiteral("cannot create ") + folder);
  ReplaceFileAtomically(path_, next.Serialize());
  doc_ = std::move(next);
}

void ConfigIniStore::WriteInteger(const QString& section, const QString& key, int value) {
  WriteString(section, key, QString::number(value));
}
