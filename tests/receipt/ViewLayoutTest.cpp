// The viewer's printer model: columns, sizes and visible markers for stray commands.

#include "Expect.h"
#include "ReceiptLayout.h"
#include "print/Receipt.h"

#include <gtest/gtest.h>

using namespace receipt_view;

namespace {

const Row* RowStarting(const QList<Row>& rows, const QString& text) {
  for (const Row& row : rows)
    if (!row.glyphs.isEmpty() && row.glyphs.front().text == text.left(1)) {
      QString all;
      for (const Glyph& g : row.glyphs) all += g.text;
      if (all.startsWith(text)) return &row;
    }
  return nullptr;
}

const Glyph* GlyphAt(const Row& row, const QString& text, int from = 0) {
  for (const Glyph& g : row.glyphs)
    if (g.text == text && g.column >= from) return &g;
  return nullptr;
}

}  // namespace

// The item header and the tab stops only line up when Hangul takes two columns.
TEST(ViewLayout, ItemColumnsLineUpWithTheHeader) {
  TOrderInfo order;
  order.item = {{"가나다라마바사아자차카타", 123000, 7, false}, {"Cola", 500, 1, false}};
  const QList<Row> rows = LayOut(MakeOrderReceipt(TShop(), order));

  const Row* header = RowStarting(rows, QString(7, ' ') + "메뉴");
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(GlyphAt(*header, "메")->column, 7);
  EXPECT_EQ(GlyphAt(*header, "뉴")->column + GlyphAt(*header, "뉴")->width - 1, 10);
  EXPECT_EQ(GlyphAt(*header, "수")->column, 26);
  EXPECT_EQ(GlyphAt(*header, "액")->column + GlyphAt(*header, "액")->width - 1, 39);

  for (const char* name : {"가나다라마바사아자차카타", "Cola"}) {
    SCOPED_TRACE(name);
    const Row* line = RowStarting(rows, name);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->glyphs[11].column + line->glyphs[11].width,
              QString(name).size() == 4 ? 12 : 24);
    const Glyph* count = GlyphAt(*line, name == QString("Cola") ? "1" : "7", 24);
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->column, 28);  // "%3d" from column 26
    EXPECT_EQ(line->Used(), 40);   // the amount ends at column 39
  }
}

TEST(ViewLayout, SizesAlignmentAndCut) {
  const std::string bytes = expect::INIT + expect::DH + expect::BOLD + expect::CENTRE + "AB\n" +
                            expect::LEFT + "C\n" + expect::INIT + "D\n\n" + expect::CUT;
  const QList<Row> rows = LayOut(bytes);
  ASSERT_EQ(rows.size(), 5);
  EXPECT_EQ(rows[0].heightMul, 2);
  EXPECT_TRUE(rows[0].glyphs[0].bold);
  EXPECT_EQ(rows[0].Offset(), 20);
  EXPECT_EQ(rows[1].Offset(), 0);
  EXPECT_EQ(rows[1].heightMul, 2);
  EXPECT_EQ(rows[2].heightMul, 1);
  EXPECT_FALSE(rows[2].glyphs[0].bold);
  EXPECT_TRUE(rows[3].glyphs.isEmpty());
  EXPECT_EQ(rows[4].kind, Row::Cut);
}

TEST(ViewLayout, UnknownBytesStayVisible) {
  const struct {
    const char* what;
    std::string bytes;
    const char* marker;
  } cases[] = {
      {"code table", std::string("A\x1B\x74\x01", 4), "⟨ESC 74⟩"},
      {"full cut", "\x1D\x56\x41", "⟨GS 56⟩"},
      {"carriage return", "A\r", "⟨0D⟩"},
      {"no such lead byte", "\x80", "⟨80⟩"},
      {"lead byte at the end", "\xB8", "⟨B8⟩"},
      {"unterminated tab stops", "\x1B\x44\x1A", "⟨ESC 44 unterminated⟩"},
      {"bad alignment", "\x1B\x61\x07", "⟨ESC 61 07⟩"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const QList<Row> rows = LayOut(c.bytes);
    bool found = false;
    for (const Row& row : rows)
      for (const Glyph& g : row.glyphs) found = found || (g.marker && g.text == QString(c.marker));
    EXPECT_TRUE(found);
  }
}

TEST(ViewLayout, LongLinesWrapAt42Columns) {
  const QList<Row> rows = LayOut(std::string(43, 'x') + "\n" +
                                 expect::Cp949(std::string(21, ' ') + "가나다라마바사아자차카\n"));
  ASSERT_EQ(rows.size(), 4);
  EXPECT_EQ(rows[0].Used(), 42);
  EXPECT_EQ(rows[1].Used(), 1);
  EXPECT_EQ(rows[2].Used(), 41);  // a Hangul character never splits across lines
  EXPECT_EQ(rows[3].glyphs[0].text, "카");
}
