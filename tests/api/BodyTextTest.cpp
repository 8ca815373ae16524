#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "QStringPrinter.h"
#include "api/BodyText.h"

TEST(FillFormat, PutsValuesInOrderAsTheyAre) {
  struct Case {
    QString format;
    QStringList values;
    QString expected;
  } cases[] = {
      {"a=%s&b=%s", {"1", "x y&z"}, "a=1&b=x y&z"},
      {"%s%s", {"%s", "2"}, "%s2"},  // a value holding "%s" is not filled again
      {"only %s and %s", {"one"}, "only one and %s"},
      {"none", {"extra"}, "none"},
  };
  for (const Case& c : cases) EXPECT_EQ(FillFormat(c.format, c.values), c.expected) << c.format.toStdString();
}

TEST(JsonText, EscapesWhatWouldEndOrBreakTheString) {
  struct Case {
    QString text;
    QString expected;
  } cases[] = {
      {"010-1111-2222", "010-1111-2222"},
      {"한글", "한글"},
      {"a\"b", "a\\\"b"},
      {"a\\b", "a\\\\b"},
      {"a\nb\tc\r", "a\\nb\\tc\\r"},
      {QString(QChar(0x01)), "\\u0001"},
  };
  for (const Case& c : cases) EXPECT_EQ(JsonText(c.text), c.expected) << c.text.toStdString();
}

// What the service sees: the body's JSON string decoded gives the document's text, whose string
// literal must decode (same escape rules) back to the original text.
TEST(GqlStringInBody, RoundTripsThroughBothLayers) {
  for (const QString& token : {QString("abc-123"), QString("q\"uote"), QString("back\\slash\\"),
                               QString("x\") { evil } #"), QString("line\nbreak")}) {
    const std::string body = ("{\"q\": \"(t: \\\"" + GqlStringInBody(token) + "\\\")\"}").toStdString();
    const std::string document = nlohmann::json::parse(body).at("q").get<std::string>();
    ASSERT_TRUE(document.starts_with("(t: \"") && document.ends_with("\")")) << document;
    const std::string literal = document.substr(4, document.size() - 5);
    EXPECT_EQ(nlohmann::json::parse(literal).get<std::string>(), token.toStdString());
  }
  EXPECT_EQ(GqlStringInBody("abc-123"), "abc-123");
}

TEST(GqlIdInBody, BareForIdsAndNamesQuotedOtherwise) {
  struct Case {
    QString id;
    QString expected;
  } cases[] = {
      {"101", "101"},
      {"-5", "-5"},
      {"shop_7", "shop_7"},
      {"null", "\\\"null\\\""},
      {"", "\\\"\\\""},
      {"1) { x }", "\\\"1) { x }\\\""},
      {"a\"b", "\\\"a\\\\\\\"b\\\""},
  };
  for (const Case& c : cases) EXPECT_EQ(GqlIdInBody(c.id), c.expected) << c.id.toStdString();
}
