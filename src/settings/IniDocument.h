#pragma once
// The text of one INI file as lines, with the lookup and edit rules every INI user here shares:
// section and key names match without regard to case, the first match is the one read,
// unrelated lines (comments, blank lines) survive every edit.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

class IniDocument {
 public:
  // Accepts UTF-8 with or without a byte-order mark, lines ended by CR LF or LF.
  static IniDocument Parse(const QByteArray& bytes);
  // Ends lines the way the parsed text did (LF for a new document).
  QByteArray Serialize() const;

  std::optional<QString> Value(const QString& section, const QString& key) const;
  bool HasSection(const QString& section) const;
  QStringList Keys(const QString& section) const;

  // Each returns whether the text changed.
  bool SetValue(const QString& section, const QString& key, const QString& value);
  bool RemoveKey(const QString& section, const QString& key);
  bool RemoveSection(const QString& section);

 private:
  QStringList lines_;
  bool crlf_ = false;
};

// Integer rule of every settings file: decimal, or hexadecimal after "0x"/"0X" (at least
// three characters); anything else, an overflow included, gives def.
int ParseIniInteger(const QString& text, int def);

// Throws IniWriteError unless the names and value can be written as one "key=value" line.
void CheckIniEntry(const QString& file, const QString& section, const QString& key,
                   const QString& value);
