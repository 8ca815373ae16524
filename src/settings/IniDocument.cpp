#include "settings/IniDocument.h"

#include "settings/IniWriteError.h"

namespace {

constexpr int kMaxValueLength = 2047;

std::optional<QString> SectionOf(const QString& line) {
  const QString t = line.trimmed();
  if (!t.startsWith(u'[')) return std::nullopt;
  const qsizetype close = t.indexOf(u']');
  return t.mid(1, close < 0 ? -1 : close - 1).trimmed();
}

struct Entry {
  QString key;
  QString value;
};

std::optional<Entry> EntryOf(const QString& line) {
  const qsizetype eq = line.indexOf(u'=');
  if (eq < 0 || line.trimmed().startsWith(u';')) return std::nullopt;
  Entry e{line.left(eq).trimmed(), line.mid(eq + 1).trimmed()};
  if (e.key.isEmpty()) return std::nullopt;
  return e;
}

bool SameName(const QString& a, const QString& b) {
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Calls visit(index, entry) for every key line inside sections named section, in file order;
// visit returns false to stop.
template <typename Visit>
void ForEachEntry(const QStringList& lines, const QString& section, Visit visit) {
  bool inside = false;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (auto name = SectionOf(lines[i])) {
      inside = SameName(*name, section);
      continue;
    }
    if (!inside) continue;
    if (auto e = EntryOf(lines[i]); e && !visit(i, *e)) return;
  }
}

}  // namespace

IniDocument IniDocument::Parse(const QByteArray& bytes) {
  QByteArray text = bytes;
  if (text.startsWith("\xEF\xBB\xBF")) text.remove(0, 3);
  IniDocument doc;
  const qsizetype firstLf = text.indexOf('\n');
  doc.crlf_ = firstLf > 0 && text.at(firstLf - 1) == '\r';
  doc.lines_ = QString::fromUtf8(text).split(u'\n');
  for (QString& line : doc.lines_) {
    if (line.endsWith(u'\r')) line.chop(1);
  }
  if (!doc.lines_.isEmpty() && doc.lines_.last().isEmpty()) doc.lines_.removeLast();
  return doc;
}

QByteArray IniDocument::Serialize() const {
  const QByteArray eol = crlf_ ? "\r\n" : "\n";
  QByteArray out;
  for (const QString& line : lines_) out += line.toUtf8() + eol;
  return out;
}

std::optional<QString> IniDocument::Value(const QString& section, const QString& key) const {
  std::optional<QString> found;
  ForEachEntry(lines_, section, [&](qsizetype, const Entry& e) {
    if (!SameName(e.key, key)) return true;
    found = e.value.left(kMaxValueLength);
    return false;
  });
  return found;
}

bool IniDocument::HasSection(const QString& section) const {
  for (const QString& line : lines_) {
    if (auto name = SectionOf(line); name && SameName(*name, section)) return true;
  }
  return false;
}

QStringList IniDocument::Keys(const QString& section) const {
  QStringList keys;
  ForEachEntry(lines_, section, [&](qsizetype, const Entry& e) {
    keys.append(e.key);
    return true;
  });
  return keys;
}

bool IniDocument::SetValue(const QString& section, const QString& key, const QString& value) {
  std::optional<qsizetype> existing;
  QString spelling = key;  // an existing key keeps the spelling the file has
  ForEachEntry(lines_, section, [&](qsizetype i, const Entry& e) {
    if (!SameName(e.key, key)) return true;
    existing = i;
    spelling = e.key;
    return false;
  });
  const QString line = spelling + u'=' + value;
  if (existing) {
    if (lines_[*existing] == line) return false;
    lines_[*existing] = line;
    return true;
  }
  // New key: after the last non-blank line of the first section of that name.
  qsizetype insertAt = -1;
  bool inside = false;
  for (qsizetype i = 0; i < lines_.size(); ++i) {
    if (auto name = SectionOf(lines_[i])) {
      if (inside) break;
      inside = SameName(*name, section);
      if (inside) insertAt = i + 1;
    } else if (inside && !lines_[i].trimmed().isEmpty()) {
      insertAt = i + 1;
    }
  }
  if (insertAt >= 0) {
    lines_.insert(insertAt, line);
    return true;
  }
  if (!lines_.isEmpty() && !lines_.last().trimmed().isEmpty()) lines_.append(QString());
  lines_.append(u'[' + section + u']');
  lines_.append(line);
  return true;
}

bool IniDocument::RemoveKey(const QString& section, const QString& key) {
  // Every copy goes, so a duplicate further down cannot reappear as the value.
  QList<qsizetype> doomed;
  ForEachEntry(lines_, section, [&](qsizetype i, const Entry& e) {
    if (SameName(e.key, key)) doomed.prepend(i);
    return true;
  });
  for (qsizetype i : doomed) lines_.removeAt(i);
  return !doomed.isEmpty();
}

bool IniDocument::RemoveSection(const QString& section) {
  QStringList kept;
  bool inside = false;
  for (const QString& line : lines_) {
    if (auto name = SectionOf(line)) inside = SameName(*name, section);
    if (!inside) kept.append(line);
  }
  const bool changed = kept.size() != lines_.size();
  lines_ = kept;
  return changed;
}

int ParseIniInteger(const QString& text, int def) {
  const QString t = text.trimmed();
  bool ok = false;
  if (t.size() >= 3 && (t.startsWith(QLatin1String("0x")) || t.startsWith(QLatin1String("0X")))) {
    // Eight hex digits at most; 0xFFFFFFFF is -1 as a 32-bit integer.
    const QString digits = t.mid(2);
    if (digits.size() > 8) return def;
    for (QChar c : digits) {
      if (!QStringLiteral("0123456789abcdefABCDEF").contains(c)) return def;
    }
    return static_cast<int>(digits.toUInt(&ok, 16));
  }
  const int v = t.toInt(&ok, 10);
  return ok ? v : def;
}

void CheckIniEntry(const QString& file, const QString& section, const QString& key,
                   const QString& value) {
  // A line break would let a value plant extra keys or sections in the file.
  auto breaks = [](const QString& s) { return s.contains(u'\n') || s.contains(u'\r'); };
  if (section.trimmed().isEmpty() || breaks(section) || section.contains(u']'))
    throw IniWriteError(file, QStringLiteral("bad section name \"%1\"").arg(section));
  if (key.trimmed().isEmpty() || breaks(key) || key.contains(u'=') || key.trimmed().startsWith(u'[') ||
      key.trimmed().startsWith(u';'))
    throw IniWriteError(file, QStringLiteral("bad key name \"%1\"").arg(key));
  if (breaks(value))
    throw IniWriteError(file, QStringLiteral("value of \"%1\" holds a line break").arg(key));
}
