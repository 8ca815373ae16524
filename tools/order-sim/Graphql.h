#pragma once
// A small GraphQL reader: one operation (a query selection, or "query"/"mutation" with an
// optional name before it), fields with arguments of scalar values and nested selections.
// The whole text must be that one operation, so text smuggled in through a badly escaped
// string shows up as a parse error rather than as a second query.

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ordersim::gql {

struct Value {
  enum class Kind { String, Number, Boolean, Null, Enum };
  Kind kind = Kind::Null;
  std::string text;  // String: the decoded text; Number/Enum: as written; Boolean: true/false
};

struct Field {
  std::string name;
  std::vector<std::pair<std::string, Value>> arguments;
  std::vector<Field> selection;  // empty for a leaf field

  const Value* argument(std::string_view argName) const;
};

struct Document {
  bool mutation = false;
  std::vector<Field> selection;
};

struct ParseError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Throws ParseError with the offending position in its message.
Document Parse(std::string_view text);

}  // namespace ordersim::gql
