// The read rules every server call relies on, one case per rule.

#include "api/JsonReader.h"

#include <gtest/gtest.h>

namespace {

enum class Op { Parse, Text, IsNull, Object, Array, Bool, Int };

// The result of one read as text, or "!" when it failed.
QString Read(const QString& doc, Op op) {
  try {
    const JsonObject root = JsonObject::Parse(doc);
    switch (op) {
      case Op::Parse:
        return "parsed";
      case Op::Text:
        return root.Text("m");
      case Op::IsNull:
        return root.IsNull("m") ? "true" : "false";
      case Op::Object:
        return root.Object("m").Text("k");
      case Op::Array:
        return QString::number(root.Array("m").Length());
      case Op::Bool:
        return root.Bool("m") ? "true" : "false";
      case Op::Int:
        return QString::number(root.Int("m"));
    }
  } catch (const JsonError& e) {
    EXPECT_FALSE(e.Message().isEmpty());
    return "!";
  }
  return "?";
}

}  // namespace

TEST(JsonReader, ReadRules) {
  const struct {
    const char* doc;
    Op op;
    const char* result;
  } cases[] = {
      {"{}", Op::Parse, "parsed"},
      {"", Op::Parse, "!"},
      {"   ", Op::Parse, "!"},
      {"[1,2]", Op::Parse, "!"},
      {"\"text\"", Op::Parse, "!"},
      {"null", Op::Parse, "!"},
      {"{\"m\":1", Op::Parse, "!"},
      {"{\"m\":1} trailing", Op::Parse, "!"},

      {R"({"m":"가나"})", Op::Text, "가나"},
      {R"({"m":""})", Op::Text, ""},
      {R"({"m":null})", Op::Text, "null"},
      {R"({"m":12})", Op::Text, "12"},
      {R"({"m":-1.5})", Op::Text, "-1.5"},
      {R"({"m":true})", Op::Text, "true"},
      {R"({"m":{"a":1}})", Op::Text, R"({"a":1})"},
      {R"({"m":[1,"x"]})", Op::Text, R"([1,"x"])"},
      {R"({"x":1})", Op::Text, "!"},
      {R"({"M":1})", Op::Text, "!"},

      {R"({})", Op::IsNull, "true"},
      {R"({"m":null})", Op::IsNull, "true"},
      {R"({"m":[]})", Op::IsNull, "false"},
      {R"({"m":""})", Op::IsNull, "false"},

      {R"({"m":{"k":"v"}})", Op::Object, "v"},
      {R"({})", Op::Object, "!"},
      {R"({"m":null})", Op::Object, "!"},
      {R"({"m":[]})", Op::Object, "!"},
      {R"({"m":"{}"})", Op::Object, "!"},

      {R"({"m":[1,2,3]})", Op::Array, "3"},
      {R"({"m":[]})", Op::Array, "0"},
      {R"({})", Op::Array, "!"},
      {R"({"m":null})", Op::Array, "!"},
      {R"({"m":{}})", Op::Array, "!"},

      {R"({"m":true})", Op::Bool, "true"},
      {R"({"m":false})", Op::Bool, "false"},
      {R"({"m":"TRUE"})", Op::Bool, "true"},
      {R"({"m":"fAlSe"})", Op::Bool, "false"},
      {R"({"m":null})", Op::Bool, "!"},
      {R"({"m":1})", Op::Bool, "!"},
      {R"({"m":"yes"})", Op::Bool, "!"},
      {R"({"m":" true"})", Op::Bool, "!"},
      {R"({})", Op::Bool, "!"},

      {R"({"m":42})", Op::Int, "42"},
      {R"({"m":-7})", Op::Int, "-7"},
      {R"({"m":2.5})", Op::Int, "3"},
      {R"({"m":-2.5})", Op::Int, "-3"},
      {R"({"m":"1500"})", Op::Int, "1500"},
      {R"({"m":"12.4"})", Op::Int, "12"},
      {R"({"m":"12.6"})", Op::Int, "13"},
      {R"({"m":"abc"})", Op::Int, "!"},
      {R"({"m":""})", Op::Int, "!"},
      {R"({"m":"inf"})", Op::Int, "!"},
      {R"({"m":null})", Op::Int, "!"},
      {R"({"m":true})", Op::Int, "!"},
      {R"({"m":[]})", Op::Int, "!"},
      {R"({"m":2147483647})", Op::Int, "2147483647"},
      {R"({"m":2147483648})", Op::Int, "!"},  // out of range fails, never wraps
      {R"({"m":"-2147483649"})", Op::Int, "!"},
      {R"({"m":18446744073709551615})", Op::Int, "!"},
      {R"({})", Op::Int, "!"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Read(c.doc, c.op), QString(c.result)) << c.doc << " op " << int(c.op);
  }
}

TEST(JsonReader, ArrayElementsByIndex) {
  const JsonArray list = JsonObject::Parse(R"({"m":[{"k":"a"},{"k":"b"},7]})").Array("m");
  ASSERT_EQ(list.Length(), 3);
  EXPECT_EQ(list.ObjectAt(1).Text("k"), "b");
  EXPECT_THROW(list.ObjectAt(2), JsonError);  // not an object
  EXPECT_THROW(list.ObjectAt(3), JsonError);  // past the end
  EXPECT_THROW(list.ObjectAt(-1), JsonError);
}

TEST(JsonReader, ObjectsOutliveTheirParents) {
  JsonObject inner = JsonObject::Parse("{}");
  {
    const JsonObject root = JsonObject::Parse(R"({"a":{"b":{"c":"deep"}}})");
    inner = root.Object("a").Object("b");
  }
  EXPECT_EQ(inner.Text("c"), "deep");
}

TEST(JsonReader, FailureMessageNamesTheMember) {
  try {
    JsonObject::Parse(R"({"data":{}})").Object("data").Object("shop");
    FAIL() << "no failure";
  } catch (const JsonError& e) {
    EXPECT_TRUE(e.Message().contains("\"shop\"")) << e.Message().toStdString();
  }
}
