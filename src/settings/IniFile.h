#pragma once
// INI file read and written key by key, straight to the file: no cache, every write is on disk
// when it returns (replaced atomically so a power cut never leaves half a file).
// Section and key names match without regard to case; values are stored without quotes.

#include <QString>
#include <QStringList>

#include "settings/IniWriteError.h"

class IniFile {
 public:
  explicit IniFile(QString path);

  const QString& FileName() const { return path_; }

  QString ReadString(const QString& section, const QString& key, const QString& def) const;
  // Decimal, or hexadecimal after "0x"/"0X" (at least three characters); anything else: def.
  int ReadInteger(const QString& section, const QString& key, int def) const;
  // Read as an integer, non-zero is true; a missing or non-numeric value reads as def.
  bool ReadBool(const QString& section, const QString& key, bool def) const;

  // Writes throw IniWriteError (naming the file) when the file cannot be written.
  void WriteString(const QString& section, const QString& key, const QString& value);
  void WriteInteger(const QString& section, const QString& key, int value);
  void WriteBool(const QString& section, const QString& key, bool value);

  void DeleteKey(const QString& section, const QString& key);
  void EraseSection(const QString& section);
  bool SectionExists(const QString& section) const;
  QStringList ReadSection(const QString& section) const;  // key names in file order

 private:
  QString path_;
};
