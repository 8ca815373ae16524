// Column texts and the code page 949 encoder.

#include "Expect.h"
#include "print/Cp949.h"
#include "print/ReceiptFormat.h"

#include <gtest/gtest.h>

#include <climits>

TEST(ReceiptFormat, AmountCountAndVisitTime) {
  const struct {
    int value;
    const char* text;
  } amounts[] = {{0, "         0"},          {999, "       999"},        {1000, "     1,000"},
                 {15000, "    15,000"},      {-2000, "    -2,000"},      {-999, "      -999"},
                 {100000000, "100,000,000"}, {-10000000, "-10,000,000"}, {INT_MAX, "2,147,483,647"},
                 {INT_MIN, "-2,147,483,648"}};
  for (const auto& c : amounts) EXPECT_EQ(FormatAmount(c.value), QString(c.text)) << c.value;

  const struct {
    int value;
    const char* text;
  } counts[] = {{0, "   "}, {1, "  1"}, {999, "999"}, {1000, "1000"}, {-1, " -1"}};
  for (const auto& c : counts) EXPECT_EQ(FormatCount(c.value), QString(c.text)) << c.value;

  const struct {
    const char* visitAt;
    const char* time;
  } visits[] = {{"2021-04-07 13:05", "13:05"},
                {"13:05", ""},
                {"", ""},
                {"a b c", "b"},
                {"2021-04-07  13:05", ""},
                {"2021-04-07\n13:05", "13:05"}};
  for (const auto& c : visits) EXPECT_EQ(VisitTime(c.visitAt), QString(c.time)) << c.visitAt;
}

TEST(Cp949, EncodesTextAndReplacesWhatItCannotRepresent) {
  const struct {
    const char* what;
    QString text;
    std::string bytes;
  } cases[] = {
      {"ASCII", "Pilvora - 12,000", "Pilvora - 12,000"},
      {"control bytes, 00 included", QString::fromLatin1("\x1B\x40\x09\x0A\x00\x1F", 6),
       std::string("\x1B\x40\x09\x0A\x00\x1F", 6)},
      {"Hangul", "메뉴", "\xB8\xDE\xB4\xBA"},
      {"box corner", "└", "\xA6\xA6"},
      {"emoji is one character", "a😀b", "a?b"},
      {"two emoji", "😀😀", "??"},
      {"lone surrogate", QString(QChar(0xD83D)) + "x", "?x"},
      {"Thai letter", "กA", "?A"},
      {"empty", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToCp949(c.text), c.bytes) << c.what << ": " << expect::Hex(ToCp949(c.text));
  }
}

TEST(Cp949, EncoderAppendsAcrossCallsAfterAFailure) {
  Cp949Encoder encoder;
  std::string out = "X";
  encoder.Append("😀", out);
  encoder.Append("메뉴", out);
  EXPECT_EQ(out, "X?\xB8\xDE\xB4\xBA");
}
