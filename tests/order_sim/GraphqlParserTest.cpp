#include <gtest/gtest.h>

#include "Graphql.h"

namespace gql = ordersim::gql;

TEST(GraphqlParser, ReadsOperationArgumentsAndSelection) {
  const gql::Document doc = gql::Parse(
      R"({ shopOrderList (token: "a\"b\\c\u00e9\n") { edges { node { no member { phone } } } } })");
  ASSERT_FALSE(doc.mutation);
  ASSERT_EQ(doc.selection.size(), 1u);
  const gql::Field& list = doc.selection[0];
  EXPECT_EQ(list.name, "shopOrderList");
  ASSERT_NE(list.argument("token"), nullptr);
  EXPECT_EQ(list.argument("token")->kind, gql::Value::Kind::String);
  EXPECT_EQ(list.argument("token")->text, "a\"b\\c\xC3\xA9\n");
  ASSERT_EQ(list.selection.size(), 1u);
  const gql::Field& node = list.selection[0].selection[0];
  ASSERT_EQ(node.selection.size(), 2u);
  EXPECT_EQ(node.selection[1].name, "member");
  EXPECT_EQ(node.selection[1].selection[0].name, "phone");
}

TEST(GraphqlParser, ValueKinds) {
  struct Case {
    const char* document;
    gql::Value::Kind kind;
    const char* text;
  };
  const Case cases[] = {
      {"{ shop(shopId: 1001) { name } }", gql::Value::Kind::Number, "1001"},
      {"{ shop(shopId: -2.5e3) { name } }", gql::Value::Kind::Number, "-2.5e3"},
      {"{ shop(shopId: abc) { name } }", gql::Value::Kind::Enum, "abc"},
      {"mutation { shopSetting(useStop: true) { result msg } }", gql::Value::Kind::Boolean, "true"},
      {"mutation Stop { shopSetting(useStop: false) { result } }", gql::Value::Kind::Boolean,
       "false"},
      {"query { shop(shopId: null) { name } }", gql::Value::Kind::Null, "null"},
      {"{ shopOrderList(status: \"ORDER,PAY\") { totalCount } }", gql::Value::Kind::String,
       "ORDER,PAY"},
      {"{ shop(shopId: \"\\ud83d\\ude00\") { name } }", gql::Value::Kind::String,
       "\xF0\x9F\x98\x80"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.document);
    const gql::Document doc = gql::Parse(c.document);
    const gql::Value& value = doc.selection.at(0).arguments.at(0).second;
    EXPECT_EQ(value.kind, c.kind);
    EXPECT_EQ(value.text, c.text);
  }
}

TEST(GraphqlParser, RejectsWhatIsNotOneWellFormedOperation) {
  const char* bad[] = {
      "",
      "{ }",
      "{ shop(shopId: 1) { name } } { shop(shopId: 2) { name } }",            // a second operation
      R"({ shopOrderList (token: "x") { totalCount } }") { totalCount } })",  // text after the end
      "{ shopOrderList (token: \"a\nb\") { totalCount } }",     // raw line end in a string
      R"({ shopOrderList (token: "abc) { totalCount } })",      // unterminated string
      R"({ shopOrderList (token: "\q") { totalCount } })",      // unknown escape
      R"({ shopOrderList (token: "\ud800") { totalCount } })",  // lone surrogate
      "subscription { shop(shopId: 1) { name } }",
      "{ shop(shopId: 1, shopId: 2) { name } }",
      "{ shop() { name } }",
      "{ shop(shopId: 12ab) { name } }",
      "{ shop(shopId: 1) { name }",
  };
  for (const char* document : bad) {
    SCOPED_TRACE(document);
    EXPECT_THROW(gql::Parse(document), gql::ParseError);
  }
}
