#include "ReceiptRender.h"

#include <QFont>
#include <QFontDatabase>
#include <QPainter>
#include <QPen>

namespace receipt_view {

namespace {

constexpr int kCell = 12;  // one column, in pixels
constexpr int kLine = 26;  // one normal line
constexpr int kMargin = 24;
constexpr int kCutHeight = 30;

QFont ReceiptFont(bool bold) {
  QFont font;
  const QStringList families = QFontDatabase::families();
  for (const char* name : {"NanumGothicCoding", "NanumGothic"}) {
    if (families.contains(QLatin1String(name))) {
      font.setFamily(QLatin1String(name));
      break;
    }
  }
  font.setPixelSize(20);
  font.setBold(bold);
  return font;
}

int RowHeight(const Row& row) { return row.kind == Row::Cut ? kCutHeight : kLine * row.heightMul; }

void DrawCut(QPainter& p, int top, int width) {
  QPen pen(QColor(120, 120, 120));
  pen.setStyle(Qt::DashLine);
  pen.setWidth(2);
  p.setPen(pen);
  p.drawLine(0, top + kCutHeight / 2, width, top + kCutHeight / 2);
  QFont font = ReceiptFont(false);
  font.setPixelSize(12);
  p.setFont(font);
  const QRect label(width - kMargin - 40, top + kCutHeight / 2 - 8, 40, 16);
  p.fillRect(label, QColor(252, 251, 246));
  p.drawText(label, Qt::AlignCenter, QStringLiteral("cut"));
}

void DrawGlyph(QPainter& p, const Glyph& g, int x, int baselineTop, int rowHeight) {
  if (g.marker) {
    QFont font = ReceiptFont(false);
    font.setPixelSize(11);
    p.setFont(font);
    const QRect box(x, baselineTop + rowHeight - kLine + 3, g.width * kCell, kLine - 6);
    p.fillRect(box, QColor(255, 228, 228));
    p.setPen(QColor(190, 0, 0));
    p.drawText(box, Qt::AlignCenter, g.text);
    return;
  }
  p.setPen(Qt::black);
  p.setFont(ReceiptFont(g.bold));
  // Draw in an unscaled cell and let the painter stretch it to double width or height.
  const int cellWidth = g.width / g.widthMul * kCell;
  p.save();
  p.translate(x, baselineTop + rowHeight - kLine * g.heightMul);
  p.scale(g.widthMul, g.heightMul);
  p.drawText(QRect(0, 0, cellWidth, kLine), Qt::AlignCenter, g.text);
  p.restore();
}

}  // namespace

QImage RenderPicture(const QList<Row>& rows) {
  const int paperWidth = kColumns * kCell + 2 * kMargin;
  int height = 2 * kMargin;
  for (const Row& row : rows) height += RowHeight(row);

  QImage image(paperWidth, height, QImage::Format_RGB32);
  image.fill(QColor(252, 251, 246));
  QPainter p(&image);
  p.setRenderHint(QPainter::TextAntialiasing);
  int top = kMargin;
  for (const Row& row : rows) {
    const int rowHeight = RowHeight(row);
    if (row.kind == Row::Cut) {
      DrawCut(p, top, paperWidth);
    } else {
      for (const Glyph& g : row.glyphs) {
        DrawGlyph(p, g, kMargin + (row.Offset() + g.column) * kCell, top, rowHeight);
      }
    }
    top += rowHeight;
  }
  return image;
}

}  // namespace receipt_view
