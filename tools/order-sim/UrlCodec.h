#pragma once
// Percent-decoding of query strings and form bodies (application/x-www-form-urlencoded).

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ordersim {

// "%41" -> "A"; with plusIsSpace "+" -> " ". A malformed escape is kept as written.
std::string PercentDecode(std::string_view text, bool plusIsSpace);

// "a=1&b=x%20y" -> {{"a","1"},{"b","x y"}}; names and values decoded, "+" read as a blank.
std::vector<std::pair<std::string, std::string>> ParseForm(std::string_view body);

// The raw (undecoded) value of the first `name=` pair of a query string.
std::optional<std::string> RawQueryValue(std::string_view query, std::string_view name);

}  // namespace ordersim
