#include "Graphql.h"

#include <cstdint>

namespace ordersim::gql {

const Value* Field::argument(std::string_view argName) const {
  for (const auto& [name, value] : arguments)
    if (name == argName) return &value;
  return nullptr;
}

namespace {

bool IsNameStart(char c) { return c == '_' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsNameChar(char c) { return IsNameStart(c) || IsDigit(c); }

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  Document document() {
    Document doc;
    skipIgnored();
    if (peekName()) {
      const std::string keyword = name();
      if (keyword == "mutation")
        doc.mutation = true;
      else if (keyword != "query")
        fail("expected \"query\", \"mutation\" or \"{\", found \"" + keyword + "\"");
      if (peekName()) name();  // operation name, not used
    }
    doc.selection = selectionSet();
    if (pos_ != text_.size()) fail("unexpected text after the operation");
    return doc;
  }

 private:
  [[noreturn]] void fail(const std::string& what) const {
    throw ParseError("Syntax Error: " + what + " at position " + std::to_string(pos_));
  }

  bool atEnd() const { return pos_ >= text_.size(); }
  char peek() const { return atEnd() ? '\0' : text_[pos_]; }
  bool peekName() const { return !atEnd() && IsNameStart(text_[pos_]); }

  // Blanks, line ends, commas and comments carry no meaning in GraphQL.
  void skipIgnored() {
    while (!atEnd()) {
      const char c = text_[pos_];
      if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == ',') {
        ++pos_;
      } else if (c == '#') {
        while (!atEnd() && text_[pos_] != '\n' && text_[pos_] != '\r') ++pos_;
      } else if (text_.substr(pos_, 3) == "\xEF\xBB\xBF") {
        pos_ += 3;
      } else {
        break;
      }
    }
  }

  void expect(char c) {
    if (peek() != c) fail(std::string("expected \"") + c + "\"");
    ++pos_;
    skipIgnored();
  }

  std::string name() {
    if (!peekName()) fail("expected a name");
    const size_t start = pos_;
    while (!atEnd() && IsNameChar(text_[pos_])) ++pos_;
    std::string result(text_.substr(start, pos_ - start));
    skipIgnored();
    return result;
  }

  std::vector<Field> selectionSet() {
    expect('{');
    std::vector<Field> fields;
    while (peek() != '}') {
      if (atEnd()) fail("unterminated selection");
      fields.push_back(field());
    }
    if (fields.empty()) fail("empty selection");
    expect('}');
    return fields;
  }

  Field field() {
    Field f;
    f.name = name();
    if (peek() == '(') {
      expect('(');
      while (peek() != ')') {
        if (atEnd()) fail("unterminated argument list");
        std::string argName = name();
        expect(':');
        if (f.argument(argName)) fail("argument \"" + argName + "\" given twice");
        f.arguments.emplace_back(std::move(argName), value());
      }
      if (f.arguments.empty()) fail("empty argument list");
      expect(')');
    }
    if (peek() == '{') f.selection = selectionSet();
    return f;
  }

  Value value() {
    Value v;
    const char c = peek();
    if (c == '"') {
      v.kind = Value::Kind::String;
      v.text = stringValue();
    } else if (c == '-' || IsDigit(c)) {
      v.kind = Value::Kind::Number;
      v.text = number();
    } else if (peekName()) {
      v.text = name();
      if (v.text == "true" || v.text == "false")
        v.kind = Value::Kind::Boolean;
      else if (v.text == "null")
        v.kind = Value::Kind::Null;
      else
        v.kind = Value::Kind::Enum;
    } else {
      fail("expected a value");
    }
    return v;
  }

  std::string number() {
    const size_t start = pos_;
    if (peek() == '-') ++pos_;
    if (!IsDigit(peek())) fail("expected a digit");
    while (IsDigit(peek())) ++pos_;
    if (peek() == '.') {
      ++pos_;
      if (!IsDigit(peek())) fail("expected a digit");
      while (IsDigit(peek())) ++pos_;
    }
    if (peek() == 'e' || peek() == 'E') {
      ++pos_;
      if (peek() == '+' || peek() == '-') ++pos_;
      if (!IsDigit(peek())) fail("expected a digit");
      while (IsDigit(peek())) ++pos_;
    }
    if (peekName() || peek() == '.') fail("invalid number");
    std::string result(text_.substr(start, pos_ - start));
    skipIgnored();
    return result;
  }

  uint32_t hex4() {
    if (pos_ + 4 > text_.size()) fail("short \\u escape");
    uint32_t cp = 0;
    for (int i = 0; i < 4; ++i) {
      const char h = text_[pos_++];
      cp <<= 4;
      if (IsDigit(h))
        cp |= static_cast<uint32_t>(h - '0');
      else if (h >= 'a' && h <= 'f')
        cp |= static_cast<uint32_t>(h - 'a' + 10);
      else if (h >= 'A' && h <= 'F')
        cp |= static_cast<uint32_t>(h - 'A' + 10);
      else
        fail("bad \\u escape");
    }
    return cp;
  }

  std::string stringValue() {
    ++pos_;  // opening quote
    std::string out;
    for (;;) {
      if (atEnd()) fail("unterminated string");
      const char c = text_[pos_];
      if (c == '"') {
        ++pos_;
        break;
      }
      // A raw line end or control character is not allowed inside a string.
      if (static_cast<unsigned char>(c) < 0x20 && c != '\t') fail("control character in string");
      if (c != '\\') {
        out += c;
        ++pos_;
        continue;
      }
      ++pos_;
      if (atEnd()) fail("unterminated string");
      const char e = text_[pos_++];
      switch (e) {
        case '"':
          out += '"';
          break;
        case '\\':
          out += '\\';
          break;
        case '/':
          out += '/';
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'u': {
          uint32_t cp = hex4();
          if (cp >= 0xD800 && cp < 0xDC00) {
            if (text_.substr(pos_, 2) != "\\u") fail("lone surrogate");
            pos_ += 2;
            const uint32_t low = hex4();
            if (low < 0xDC00 || low >= 0xE000) fail("lone surrogate");
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
          } else if (cp >= 0xDC00 && cp < 0xE000) {
            fail("lone surrogate");
          }
          AppendUtf8(out, cp);
          break;
        }
        default:
          --pos_;
          fail(std::string("bad escape \\") + e);
      }
    }
    skipIgnored();
    return out;
  }

  std::string_view text_;
  size_t pos_ = 0;
};

}  // namespace

Document Parse(std::string_view text) { return Parser(text).document(); }

}  // namespace ordersim::gql
