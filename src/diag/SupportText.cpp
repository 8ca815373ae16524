#include "diag/SupportRoutines.h"

QString DateText(const QString& pattern) { return DateText(pattern, QTime::currentTime()); }

QString DateText(const QString& pattern, const QTime& at) {
  QString out;
  for (const QChar c : pattern) {
    if (c == 'H') out += QStringLiteral("%1").arg(at.hour(), 2, 10, QChar('0'));
    else if (c == 'i') out += QStringLiteral("%1").arg(at.minute(), 2, 10, QChar('0'));
    else if (c == 's') out += QStringLiteral("%1").arg(at.second(), 2, 10, QChar('0'));
    else out += c;
  }
  return out;
}

namespace {

// Shortest decimal form without exponent, so huge counts never turn into "1e+21".
QString shortest(double value) { return QString::number(value, 'f', QLocale::FloatingPointShortest); }

QString twoDecimals(double value) {
  QString text = shortest(value);
  const qsizetype dot = text.indexOf('.');
  if (dot < 0) return text;
  return (text + QStringLiteral("000")).left(dot + 3);
}

}  // namespace

QString SizeText(double bytes) {
  constexpr double kB = 1024.0, MB = kB * 1024.0, GB = MB * 1024.0;
  if (bytes < kB) return shortest(bytes) + "B";
  if (bytes < MB) return twoDecimals(bytes / kB) + "KB";
  if (bytes < GB) return twoDecimals(bytes / MB) + "MB";
  return twoDecimals(bytes / GB) + "GB";
}

bool InList(const QString& text, const QStringList& names) {
  return names.contains(text, Qt::CaseSensitive);
}

QString FormatPhoneNumber(const QString& text) {
  const QString d = QString(text).remove('-');
  if (d.isEmpty()) return QString();
  if (!d.startsWith(QStringLiteral("01"))) return d;
  if (d.size() >= 12) return text.left(13);
  switch (d.size()) {
    case 4: return d.left(3) + '-' + d.mid(3);
    case 7: return d.left(3) + '-' + d.mid(3, 3) + '-' + d.mid(6);
    case 10: return d.left(3) + '-' + d.mid(3, 3) + '-' + d.mid(6, 4);
    case 11: return d.left(3) + '-' + d.mid(3, 4) + '-' + d.mid(7, 4);
    default: return text;
  }
}

QString DigitsOnly(const QString& text) {
  QString out;
  for (const QChar c : text.trimmed())
    if (c >= '0' && c <= '9') out += c;
  return out;
}

QStringList SplitByLength(const QString& text, int n) {
  if (text.isEmpty()) return {};
  if (n < 1) return {text};
  QStringList pieces;
  for (qsizetype at = 0; at < text.size(); at += n) pieces << text.mid(at, n);
  return pieces;
}

QString PadRight(const QString& text, int n) {
  return text.size() >= n ? text : text + QString(n - text.size(), ' ');
}

QString NthField(const QString& separator, const QString& text, int index) {
  if (index < 0) return QString();
  QString joined = text;
  if (!separator.isEmpty()) joined.replace(separator, QStringLiteral("\n"));
  // Lines end at CR LF, CR or LF; a break at the very end opens no further field.
  int field = 0;
  qsizetype start = 0;
  for (qsizetype i = 0; i < joined.size(); ++i) {
    const QChar c = joined[i];
    if (c != '\r' && c != '\n') continue;
    if (field == index) return joined.mid(start, i - start);
    if (c == '\r' && i + 1 < joined.size() && joined[i + 1] == '\n') ++i;
    start = i + 1;
    ++field;
  }
  if (field == index && start < joined.size()) return joined.mid(start);
  return QString();
}
