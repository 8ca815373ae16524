#include "settings/IniFile.h"

#include "settings/AtomicFile.h"
#include "settings/IniDocument.h"
#include "settings/IniWriteError.h"

#include <QFile>

namespace {

// A missing or unreadable file reads as empty: every value then takes its default.
IniDocument Load(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return IniDocument::Parse(f.readAll());
}

// An edit must start from the whole current file: one that exists but cannot be read would
// otherwise be replaced by the single new key.
IniDocument LoadForEdit(const QString& path) {
  QFile f(path);
  if (!f.exists()) return {};
  if (!f.open(QIODevice::ReadOnly)) throw IniWriteError(path, f.errorString());
  return IniDocument::Parse(f.readAll());
}

}  // namespace

IniFile::IniFile(QString path) : path_(std::move(path)) {}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
  return Load(path_).Value(section, key).value_or(def);
}

int IniFile::ReadInteger(const QString& section, const QString& key, int def) const {
  const auto text = Load(path_).Value(section, key);
  return text ? ParseIniInteger(*text, def) : def;
}

bool IniFile::ReadBool(const QString& section, const QString& key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value) {
  CheckIniEntry(path_, section, key, value);
  IniDocument doc = LoadForEdit(path_);
  if (doc.SetValue(section, key, value) || !QFile::exists(path_))
    ReplaceFileAtomically(path_, doc.Serialize());
}

void IniFile::WriteInteger(const QString& section, const QString& key, int value) {
  WriteString(section, key, QString::number(value));
}

void IniFile::WriteBool(const QString& section, const QString& key, bool value) {
  WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::DeleteKey(const QString& section, const QString& key) {
  IniDocument doc = LoadForEdit(path_);
  if (doc.RemoveKey(section, key)) ReplaceFileAtomically(path_, doc.Serialize());
}

void IniFile::EraseSection(const QString& section) {
  IniDocument doc = LoadForEdit(path_);
  if (doc.RemoveSection(section)) ReplaceFileAtomically(path_, doc.Serialize());
}

bool IniFile::SectionExists(const QString& section) const {
  return Load(path_).HasSection(section);
}

QStringList IniFile::ReadSection(const QString& section) const {
  return Load(path_).Keys(section);
}
