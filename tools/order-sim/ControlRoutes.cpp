#include "ControlRoutes.h"

#include <array>

#include "HttpReplies.h"

namespace ordersim {

namespace {

using nlohmann::json;

struct BadRequest : std::runtime_error {
  using std::runtime_error::runtime_error;
};
struct NoRoute {};

constexpr std::array<std::pair<FaultKind, const char*>, 6> kFaultNames{
    {{FaultKind::Slow, "slow"},
     {FaultKind::Status500, "500"},
     {FaultKind::Malformed, "malformed"},
     {FaultKind::GraphqlErrors, "errors"},
     {FaultKind::CloseConnection, "close"},
     {FaultKind::Canned, "canned"}}};

std::string Text(const json& body, const char* name, const std::string& fallback) {
  const auto it = body.find(name);
  if (it == body.end()) return fallback;
  if (!it->is_string()) throw BadRequest(std::string("\"") + name + "\" must be a string");
  return it->get<std::string>();
}

int Number(const json& body, const char* name, int fallback) {
  const auto it = body.find(name);
  if (it == body.end()) return fallback;
  if (!it->is_number_integer())
    throw BadRequest(std::string("\"") + name + "\" must be an integer");
  return it->get<int>();
}

json OrderSummary(const Order& order) {
  return {{"token", order.token},
          {"no", order.no},
          {"shop", order.shopId},
          {"order_type", ToString(order.orderType)},
          {"status", ToString(order.status)},
          {"price", order.price()}};
}

json RequestJson(const RecordedRequest& r) {
  json headers = json::array();
  for (const auto& [name, value] : r.headers) headers.push_back({name, value});
  return {{"tls", r.tls},       {"method", r.method}, {"target", r.target},
          {"headers", headers}, {"body", r.body},     {"chunked", r.chunked}};
}

json AddShop(OrderSim& sim, const json& body) {
  Shop shop;
  shop.id = Text(body, "id", "");
  shop.authCode = Text(body, "auth_code", "");
  if (shop.id.empty() || shop.authCode.empty())
    throw BadRequest("\"id\" and \"auth_code\" are required");
  shop.adminPhone = Text(body, "admin_phone", "");
  shop.name = Text(body, "name", "");
  shop.tel = Text(body, "tel", "");
  shop.bizNum = Text(body, "biz_num", "");
  shop.ownerName = Text(body, "owner_name", "");
  shop.addr1 = Text(body, "addr1", "");
  shop.addr2 = Text(body, "addr2", "");
  shop.origin = Text(body, "origin", "");
  sim.addShop(shop);
  return {{"ok", true}};
}

json PlaceOrder(OrderSim& sim, const json& body) {
  const auto type = ParseOrderType(Text(body, "type", "DELIVERY"));
  if (!type) throw BadRequest("\"type\" must be DELIVERY, TAKEOUT or SHOP");
  Order order = SampleOrder(*type);
  order.token = Text(body, "token", "");
  try {
    return OrderSummary(sim.placeOrder(Text(body, "shop", DemoShop().id), order));
  } catch (const std::invalid_argument& e) {
    throw BadRequest(e.what());
  }
}

json SetStatus(OrderSim& sim, const json& body) {
  const auto status = ParseOrderStatus(Text(body, "status", ""));
  if (!status) throw BadRequest("\"status\" must be ORDER, PAY, WORKING or DONE");
  const std::string token = Text(body, "token", "");
  if (!sim.setStatus(token, *status)) throw BadRequest("no order with token \"" + token + "\"");
  return OrderSummary(*sim.order(token));
}

json AddFault(OrderSim& sim, const json& body) {
  Fault fault;
  const auto kind = ParseFaultKind(Text(body, "kind", ""));
  if (!kind) throw BadRequest("\"kind\" must be slow, 500, malformed, errors, close or canned");
  fault.kind = *kind;
  fault.count = Number(body, "count", 1);
  fault.pathPrefix = Text(body, "path", "");
  fault.delay = std::chrono::milliseconds(
      Number(body, "delay_ms", fault.kind == FaultKind::Slow ? 16000 : 0));
  fault.canned.status = Number(body, "status", 200);
  fault.canned.body = Text(body, "body", "");
  if (const auto it = body.find("headers"); it != body.end()) {
    if (!it->is_object()) throw BadRequest("\"headers\" must be an object of strings");
    for (const auto& [name, value] : it->items()) {
      if (!value.is_string()) throw BadRequest("\"headers\" must be an object of strings");
      fault.canned.headers.emplace_back(name, value.get<std::string>());
    }
  }
  sim.failNext(fault);
  return {{"ok", true}};
}

json Dispatch(OrderSim& sim, http::verb method, const std::string& path, const json& body) {
  const bool get = method == http::verb::get;
  const bool post = method == http::verb::post;
  const bool del = method == http::verb::delete_;
  if (get && path == "/state") return json::parse(sim.stateJson());
  if (post && path == "/shops") return AddShop(sim, body);
  if (post && path == "/orders") return PlaceOrder(sim, body);
  if (post && path == "/orders/status") return SetStatus(sim, body);
  if (post && path == "/faults") return AddFault(sim, body);
  if (del && path == "/faults") {
    sim.clearFaults();
    return {{"ok", true}};
  }
  if (get && path == "/requests") {
    json list = json::array();
    for (const auto& r : sim.requests()) list.push_back(RequestJson(r));
    return list;
  }
  if (del && path == "/requests") {
    sim.clearRequests();
    return {{"ok", true}};
  }
  if (get && path == "/sms-codes") {
    json list = json::array();
    for (const auto& c : sim.smsCodes())
      list.push_back({{"phone", c.phone}, {"sub_admin", c.subAdmin}, {"code", c.code}});
    return list;
  }
  if (get && path == "/error-reports") {
    json list = json::array();
    for (const auto& r : sim.errorReports())
      list.push_back({{"body", r.body}, {"fields", r.fields}});
    return list;
  }
  if (post && path == "/notify")
    return {{"reached", sim.notify(Text(body, "shop", DemoShop().id), Text(body, "message", ""))}};
  if (post && path == "/channels/drop") {
    sim.dropChannels(Text(body, "shop", DemoShop().id));
    return {{"ok", true}};
  }
  throw NoRoute{};
}

}  // namespace

std::optional<FaultKind> ParseFaultKind(std::string_view name) {
  for (const auto& [kind, n] : kFaultNames)
    if (name == n) return kind;
  return std::nullopt;
}

std::optional<HttpResponse> HandleControlRequest(OrderSim& sim, const Incoming& incoming) {
  const HttpRequest& request = incoming.request;
  json body = json::object();
  if (!request.body().empty()) {
    body = json::parse(request.body(), nullptr, false);
    if (!body.is_object()) return JsonReply(400, {{"error", "the body must be a JSON object"}});
  }
  try {
    return JsonReply(
        200, Dispatch(sim, request.method(), SplitTarget(View(request.target())).first, body));
  } catch (const BadRequest& e) {
    return JsonReply(400, {{"error", e.what()}});
  } catch (const NoRoute&) {
    return JsonReply(404, {{"error", "no such control route"}});
  }
}

}  // namespace ordersim
