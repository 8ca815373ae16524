#include "UrlCodec.h"

namespace ordersim {

namespace {
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

template <typename F>
void ForEachPair(std::string_view text, F&& f) {
  size_t start = 0;
  while (start <= text.size()) {
    const size_t amp = std::min(text.find('&', start), text.size());
    const std::string_view pair = text.substr(start, amp - start);
    if (!pair.empty()) {
      const size_t eq = pair.find('=');
      f(pair.substr(0, eq),
        eq == std::string_view::npos ? std::string_view() : pair.substr(eq + 1));
    }
    start = amp + 1;
  }
}
}  // namespace

std::string PercentDecode(std::string_view text, bool plusIsSpace) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else if (c == '+' && plusIsSpace) {
      out += ' ';
    } else {
      out += c;
    }
  }
  return out;
}

std::vector<std::pair<std::string, std::string>> ParseForm(std::string_view body) {
  std::vector<std::pair<std::string, std::string>> fields;
  ForEachPair(body, [&](std::string_view name, std::string_view value) {
    fields.emplace_back(PercentDecode(name, true), PercentDecode(value, true));
  });
  return fields;
}

std::optional<std::string> RawQueryValue(std::string_view query, std::string_view name) {
  std::optional<std::string> found;
  ForEachPair(query, [&](std::string_view n, std::string_view value) {
    if (!found && n == name) found = std::string(value);
  });
  return found;
}

}  // namespace ordersim
