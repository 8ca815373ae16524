#include "GraphqlService.h"

#include <algorithm>
#include <initializer_list>
#include <set>

#include "Graphql.h"
#include "OrderJson.h"

namespace ordersim {

namespace {

using nlohmann::json;

struct ExecError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Members that hold objects (or lists of objects) wherever they appear in the schema; every
// other member is a scalar. Needed because a null or an empty list does not show its type.
const std::set<std::string> kObjectMembers = {"edges",       "node",    "member", "coupon",
                                              "payinfo",     "setting", "items",  "goods",
                                              "pickOptions", "option"};

// Cuts `full` down to the selection, refusing what a typed server would refuse.
json Project(const json& full, const std::vector<gql::Field>& selection,
             const std::string& typeName) {
  if (full.is_null()) return nullptr;
  if (full.is_array()) {
    json out = json::array();
    for (const auto& element : full) out.push_back(Project(element, selection, typeName));
    return out;
  }
  json out = json::object();
  for (const auto& field : selection) {
    const auto it = full.find(field.name);
    if (it == full.end())
      throw ExecError("Cannot query field \"" + field.name + "\" on type \"" + typeName + "\".");
    if (!field.arguments.empty())
      throw ExecError("Unknown argument \"" + field.arguments.front().first + "\" on field \"" +
                      typeName + "." + field.name + "\".");
    const bool object = kObjectMembers.count(field.name) > 0;
    if (object && field.selection.empty())
      throw ExecError("Field \"" + field.name + "\" of type \"" + typeName +
                      "\" must have a selection of subfields.");
    if (!object && !field.selection.empty())
      throw ExecError("Field \"" + field.name +
                      "\" must not have a selection since it has no subfields.");
    out[field.name] = object ? Project(*it, field.selection, field.name) : *it;
  }
  return out;
}

void CheckArguments(const gql::Field& field, std::initializer_list<const char*> allowed) {
  for (const auto& [name, value] : field.arguments)
    if (std::none_of(allowed.begin(), allowed.end(), [&](const char* a) { return name == a; }))
      throw ExecError("Unknown argument \"" + name + "\" on field \"" + field.name + "\".");
}

const gql::Value* StringArgument(const gql::Field& field, const char* name) {
  const gql::Value* value = field.argument(name);
  if (value && value->kind != gql::Value::Kind::String)
    throw ExecError(std::string("Argument \"") + name + "\" of \"" + field.name +
                    "\" must be a String.");
  return value;
}

std::set<OrderStatus> ParseStatusList(const std::string& text) {
  std::set<OrderStatus> statuses;
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    std::string part =
        text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    part.erase(0, part.find_first_not_of(' '));
    part.erase(part.find_last_not_of(' ') + 1);
    const auto status = ParseOrderStatus(part);
    if (!status) throw ExecError("Unknown order status \"" + part + "\".");
    statuses.insert(*status);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return statuses;
}

json ShopField(const ServiceState& state, const std::string& shopId, const gql::Field& field) {
  CheckArguments(field, {"shopId"});
  const gql::Value* id = field.argument("shopId");
  if (!id) throw ExecError("Field \"shop\" argument \"shopId\" is required.");
  if (id->kind == gql::Value::Kind::Boolean || id->kind == gql::Value::Kind::Null)
    throw ExecError("Argument \"shopId\" of \"shop\" must be an ID.");
  if (id->text != shopId) throw ExecError("Permission denied for shop " + id->text + ".");
  return Project(ShopJson(state.shops.at(shopId)), field.selection, "Shop");
}

json OrderListField(const ServiceState& state, const std::string& shopId, const gql::Field& field) {
  CheckArguments(field, {"token", "status"});
  const gql::Value* token = StringArgument(field, "token");
  const gql::Value* status = StringArgument(field, "status");
  std::set<OrderStatus> statuses;
  if (status) statuses = ParseStatusList(status->text);

  json edges = json::array();
  for (auto it = state.orders.rbegin(); it != state.orders.rend(); ++it) {  // newest first
    if (it->shopId != shopId) continue;
    if (token && it->token != token->text) continue;
    if (status && !statuses.count(it->status)) continue;
    edges.push_back({{"node", OrderNodeJson(*it)}});
  }
  const json connection = {{"totalCount", edges.size()}, {"edges", edges}};
  return Project(connection, field.selection, "OrderConnection");
}

json ShopSettingField(ServiceState& state, const std::string& shopId, const gql::Field& field) {
  CheckArguments(field, {"useStop"});
  const gql::Value* useStop = field.argument("useStop");
  if (!useStop || useStop->kind != gql::Value::Kind::Boolean)
    throw ExecError("Argument \"useStop\" of \"shopSetting\" must be a Boolean.");
  state.shops.at(shopId).useStop = useStop->text == "true";
  const json result = {{"result", true}, {"msg", "설정이 변경되었습니다."}};
  return Project(result, field.selection, "ShopSettingResult");
}

}  // namespace

json GraphqlError(const std::string& message) {
  return {{"data", nullptr}, {"errors", json::array({{{"message", message}}})}};
}

json ExecuteGraphql(ServiceState& state, const std::string& shopId, const std::string& document) {
  try {
    const gql::Document doc = gql::Parse(document);
    json data = json::object();
    for (const auto& field : doc.selection) {
      if (field.selection.empty())
        throw ExecError("Field \"" + field.name + "\" must have a selection of subfields.");
      if (doc.mutation && field.name == "shopSetting")
        data[field.name] = ShopSettingField(state, shopId, field);
      else if (!doc.mutation && field.name == "shop")
        data[field.name] = ShopField(state, shopId, field);
      else if (!doc.mutation && field.name == "shopOrderList")
        data[field.name] = OrderListField(state, shopId, field);
      else
        throw ExecError("Cannot query field \"" + field.name + "\" on type \"" +
                        (doc.mutation ? "Mutation" : "Query") + "\".");
    }
    return {{"data", data}};
  } catch (const std::exception& e) {
    return GraphqlError(e.what());
  }
}

}  // namespace ordersim
