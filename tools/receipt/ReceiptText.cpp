#include "ReceiptRender.h"

namespace receipt_view {

QString RenderText(const QList<Row>& rows) {
  const QString edge = QStringLiteral("    +") + QString(kColumns, '-') + "+\n";
  QString out = edge;
  for (const Row& row : rows) {
    if (row.kind == Row::Cut) {
      out += QStringLiteral("  ✂ ") + QStringLiteral("- ").repeated(kColumns / 2) + "\n";
      continue;
    }
    bool bold = false, wide = false;
    for (const Glyph& g : row.glyphs) {
      bold = bold || g.bold;
      wide = wide || g.widthMul > 1;
    }
    QString line = QStringLiteral("%1%2%3 |")
                       .arg(row.heightMul > 1 ? 'H' : ' ')
                       .arg(wide ? 'W' : ' ')
                       .arg(bold ? 'B' : ' ');
    // Terminals draw Hangul two columns wide, so padding by columns keeps the layout.
    int column = 0;
    for (const Glyph& g : row.glyphs) {
      const int at = row.Offset() + g.column;
      if (at > column) line += QString(at - column, ' ');
      line += g.text;
      if (g.widthMul > 1) line += QString((g.width - g.width / g.widthMul), ' ');
      column = at + g.width;
    }
    if (column < kColumns) line += QString(kColumns - column, ' ');
    out += line + "|\n";
  }
  return out + edge;
}

}  // namespace receipt_view
