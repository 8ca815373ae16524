#include "api/BodyText.h"

#include <QRegularExpression>

QString FillFormat(const QString& format, const QStringList& values) {
  QString out;
  out.reserve(format.size() + 16 * values.size());
  qsizetype from = 0;
  for (const QString& value : values) {
    const qsizetype at = format.indexOf(QLatin1String("%s"), from);
    if (at < 0) break;
    out += QStringView(format).mid(from, at - from);
    out += value;
    from = at + 2;
  }
  out += QStringView(format).mid(from);
  return out;
}

QString JsonText(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (const QChar c : text) {
    switch (c.unicode()) {
      case '"': out += QLatin1String("\\\""); break;
      case '\\': out += QLatin1String("\\\\"); break;
      case '\b': out += QLatin1String("\\b"); break;
      case '\f': out += QLatin1String("\\f"); break;
      case '\n': out += QLatin1String("\\n"); break;
      case '\r': out += QLatin1String("\\r"); break;
      case '\t': out += QLatin1String("\\t"); break;
      default:
        if (c.unicode() < 0x20)
          out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
          out += c;
    }
  }
  return out;
}

QString GqlStringInBody(const QString& text) { return JsonText(JsonText(text)); }

QString GqlIdInBody(const QString& id) {
  static const QRegularExpression bare(QStringLiteral("^(-?[0-9]+|[A-Za-z_][A-Za-z0-9_]*)$"));
  const bool keyword = id == u"true" || id == u"false" || id == u"null";
  if (!keyword && bare.match(id).hasMatch()) return id;
  return "\\\"" + GqlStringInBody(id) + "\\\"";
}
