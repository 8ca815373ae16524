#pragma once
// config.ini (window positions): read once into memory, written back whole after every write.

#include "settings/IniDocument.h"

#include <QString>

class ConfigIniStore {
 public:
  static QString DefaultPath();  // data folder + "/config.ini"

  // Loads the file now; a missing or unreadable file starts empty.
  explicit ConfigIniStore(QString path = DefaultPath());

  const QString& FileName() const { return path_; }
  QString ReadString(const QString& section, const QString& key, const QString& def) const;
  int ReadInteger(const QString& section, const QString& key, int def) const;

  // Creates the file's folder when missing; throws IniWriteError when the file cannot be written.
  void WriteString(const QString& section, const QString& key, const QString& value);
  void WriteInteger(const QString& section, const QString& key, int value);

 private:
  QString path_;
  IniDocument doc_;
};
