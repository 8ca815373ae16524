#pragma once
// Lays receipt bytes out the way an ESC/POS printer with 42 columns would: code page 949 text,
// double height, bold, alignment, tab stops and the cut. Anything else is kept visible as a
// marker such as ⟨ESC 74⟩ so that stray commands never hide.

#include <QList>
#include <QString>

#include <string>

namespace receipt_view {

constexpr int kColumns = 42;

struct Glyph {
  QString text;
  int column = 0;  // first column, counted from 0 before alignment
  int width = 1;   // columns taken, size multiplier included
  bool bold = false;
  int widthMul = 1;
  int heightMul = 1;
  bool marker = false;  // a command or byte the layout does not print
};

struct Row {
  enum Kind { Text, Cut };
  Kind kind = Text;
  enum Align { AlignLeft, AlignCentre, AlignRight };
  Align align = AlignLeft;
  int heightMul = 1;
  QList<Glyph> glyphs;

  int Used() const { return glyphs.isEmpty() ? 0 : glyphs.back().column + glyphs.back().width; }
  // Columns to shift the row by for its alignment.
  int Offset() const;
};

QList<Row> LayOut(const std::string& bytes);

}  // namespace receipt_view
