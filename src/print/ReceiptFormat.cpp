#include "print/ReceiptFormat.h"

#include "diag/SupportRoutines.h"

QString FormatAmount(int value) {
  // 64 bits so that the lowest int keeps its sign and digits.
  const qint64 wide = value;
  QString digits = QString::number(wide < 0 ? -wide : wide);
  for (qsizetype at = digits.size() - 3; at > 0; at -= 3) digits.insert(at, QLatin1Char(','));
  if (wide < 0) digits.prepend(QLatin1Char('-'));
  return digits.rightJustified(10, QLatin1Char(' '));
}

QString FormatCount(int value) {
  if (value == 0) return QStringLiteral("   ");
  return QString::number(value).rightJustified(3, QLatin1Char(' '));
}

QString VisitTime(const QString& visitAt) { return NthField(QStringLiteral(" "), visitAt, 1); }
