#include <gtest/gtest.h>

#include <QTime>

#include "diag/SupportRoutines.h"

namespace {

struct SizeCase {
  double bytes;
  const char* text;
};

TEST(SizeText, UnitBoundariesAndTruncation) {
  const SizeCase cases[] = {
      {0, "0B"},
      {1023, "1023B"},
      {1024, "1KB"},
      {1536, "1.50KB"},
      {2048, "2KB"},
      {1048575, "1023.99KB"},  // cut, never rounded up to 1024.00KB
      {1048576, "1MB"},
      {1.25 * 1048576, "1.25MB"},
      {1073741823, "1023.99MB"},
      {1073741824, "1GB"},
      {3.99999 * 1073741824, "3.99GB"},
      {1.52 * 1073741824, "1.52GB"},
      {1.0e6 * 1073741824, "1000000GB"},  // no exponent form for huge amounts
  };
  for (const auto& c : cases) EXPECT_EQ(SizeText(c.bytes), QString::fromLatin1(c.text)) << c.bytes;
}

struct TextCase {
  const char* in;
  const char* out;
};

TEST(FormatPhoneNumber, HyphenatesByDigitCount) {
  const TextCase cases[] = {
      {"", ""},
      {"-", ""},
      {"010-1", "010-1"},                // four digits: 3 + 1
      {"0101", "010-1"},
      {"010123", "010123"},              // six digits: left as typed
      {"0101234", "010-123-4"},          // seven: 3 + 3 + 1
      {"010-123-45", "010-123-45"},      // eight: as typed, hyphens kept
      {"0161234567", "016-123-4567"},    // ten: 3 + 3 + 4
      {"01012345678", "010-1234-5678"},  // eleven: 3 + 4 + 4
      {"010-1234-5678", "010-1234-5678"},
      {"010123456789", "010123456789"},           // twelve digits: first 13 of the input
      {"010-1234-56789", "010-1234-5678"},        // twelve digits typed with hyphens: cut at 13
      {"0212345678", "0212345678"},               // not a mobile number
      {"02-1234-5678", "0212345678"},             // hyphens dropped when not mobile
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatPhoneNumber(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST(DigitsOnly, KeepsDigitsInOrder) {
  EXPECT_EQ(DigitsOnly(" 010-12 34\t5678 "), "01012345678");
  EXPECT_EQ(DigitsOnly("abc"), "");
  EXPECT_EQ(DigitsOnly(QString::fromUtf8("٣1２")), "1");  // other scripts' digits are not 0-9
}

TEST(SplitByLength, PiecesOfN) {
  const QString text25 = QStringLiteral("abcdefghijklmnopqrstuvwxy");
  EXPECT_EQ(SplitByLength(text25, 12), QStringList({"abcdefghijkl", "mnopqrstuvwx", "y"}));
  EXPECT_EQ(SplitByLength("abcdef", 3), QStringList({"abc", "def"}));
  EXPECT_TRUE(SplitByLength("", 5).isEmpty());
  // Korean text counts characters, not bytes.
  EXPECT_EQ(SplitByLength(QString::fromUtf8("가나다라마"), 2),
            QStringList({QString::fromUtf8("가나"), QString::fromUtf8("다라"), QString::fromUtf8("마")}));
  // A zero length would never advance: the text stays whole instead.
  EXPECT_EQ(SplitByLength("abc", 0), QStringList({"abc"}));
}

TEST(PadRight, PadsOnlyShortTexts) {
  EXPECT_EQ(PadRight("ab", 5), "ab   ");
  EXPECT_EQ(PadRight("abcdefghijklmno", 12), "abcdefghijklmno");
  EXPECT_EQ(PadRight(QString::fromUtf8("김치"), 4), QString::fromUtf8("김치  "));
  EXPECT_EQ(PadRight("", 0), "");
}

struct FieldCase {
  const char* separator;
  const char* text;
  int index;
  const char* field;
};

TEST(NthField, FieldsAndBreaks) {
  const FieldCase cases[] = {
      {" ", "2021-04-07 13:05", 0, "2021-04-07"},
      {" ", "2021-04-07 13:05", 1, "13:05"},
      {" ", "2021-04-07 13:05", 2, ""},
      {" ", "a  b", 1, ""},           // consecutive separators give an empty field
      {" ", "a  b", 2, "b"},
      {",", "a,b,", 2, ""},           // a break at the end opens no further field
      {"|", "a\r\nb|c\rd\ne", 1, "b"},  // CR LF, CR and LF all break
      {"|", "a\r\nb|c\rd\ne", 3, "d"},
      {"|", "a\r\nb|c\rd\ne", 4, "e"},
      {"\r\n", "x\r\ny", 1, "y"},
      {"::", "a::b::c", 2, "c"},
      {" ", "", 0, ""},
      {" ", "a b", -1, ""},
      {"", "a\nb", 1, "b"},  // an empty separator replaces nothing
  };
  for (const auto& c : cases)
    EXPECT_EQ(NthField(QString::fromUtf8(c.separator), QString::fromUtf8(c.text), c.index),
              QString::fromUtf8(c.field))
        << c.text << " #" << c.index;
}

TEST(InList, ExactAndCaseSensitive) {
  const QStringList names = {"EConvertError", "EOSError"};
  EXPECT_TRUE(InList("EOSError", names));
  EXPECT_FALSE(InList("EOSERROR", names));
  EXPECT_FALSE(InList("EOSError2", names));
  EXPECT_FALSE(InList("", names));
}

TEST(DateText, PhpLettersTwoDigitsOthersCopied) {
  EXPECT_EQ(DateText("H:i:s", QTime(9, 5, 3)), "09:05:03");
  EXPECT_EQ(DateText("H:i:s", QTime(23, 59, 0)), "23:59:00");
  EXPECT_EQ(DateText("[H] x", QTime(14, 0, 0)), "[14] x");
}

TEST(SystemTexts, OffWindowsValues) {
  EXPECT_EQ(OsFamilyName(), "wvUnknown");
  EXPECT_TRUE(IsVistaOrLater());
  EXPECT_EQ(FileVersionText(), QStringLiteral(" Ver ") + TALVEN_VERSION_TEXT);
  EXPECT_EQ(FileVersionText().count('.'), 3);
}

}  // namespace
