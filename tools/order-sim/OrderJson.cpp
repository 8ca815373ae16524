#include "OrderJson.h"

namespace ordersim {

namespace {
nlohmann::json Nullable(const std::optional<std::string>& text) {
  return text ? nlohmann::json(*text) : nlohmann::json(nullptr);
}

nlohmann::json ItemJson(const OrderItem& item) {
  nlohmann::json pickOptions = nlohmann::json::array();
  int unit = item.price;
  for (const auto& group : item.pickOptions) {
    nlohmann::json options = nlohmann::json::array();
    for (const auto& option : group.items) {
      options.push_back({{"name", option.name}, {"price", option.price}});
      unit += option.price;
    }
    pickOptions.push_back({{"option", {{"name", group.name}}}, {"items", options}});
  }
  return {{"price", unit * item.count},
          {"count", item.count},
          {"goods", {{"name", item.name}, {"price", item.price}}},
          {"pickOptions", pickOptions}};
}
}  // namespace

nlohmann::json ShopJson(const Shop& shop) {
  return {{"id", shop.id},
          {"name", shop.name},
          {"tel", shop.tel},
          {"bizNum", shop.bizNum},
          {"ownerName", shop.ownerName},
          {"addr1", shop.addr1},
          {"addr2", shop.addr2},
          {"useStop", shop.useStop},
          {"deliveryMessage", shop.deliveryMessage},
          {"origin", shop.origin},
          {"affiliate", shop.affiliate}};
}

nlohmann::json OrderNodeJson(const Order& order) {
  nlohmann::json items = nlohmann::json::array();
  for (const auto& item : order.items) items.push_back(ItemJson(item));
  nlohmann::json coupon = nullptr;
  if (order.coupon)
    coupon = {{"coupon", {{"name", order.coupon->name}, {"burdenType", order.coupon->burdenType}}}};
  return {{"no", order.no},
          {"token", order.token},
          {"status", ToString(order.status)},
          {"member", {{"phone", order.memberPhone}}},
          {"payAt", Nullable(order.payAt)},
          {"visitAt", Nullable(order.visitAt)},
          {"orderType", ToString(order.orderType)},
          {"shipAddr1", Nullable(order.shipAddr1)},
          {"shipAddr2", Nullable(order.shipAddr2)},
          {"commentShop", Nullable(order.commentShop)},
          {"commentShip", Nullable(order.commentShip)},
          {"price", order.price()},
          {"priceGoods", order.priceGoods()},
          {"priceShip", order.priceShip},
          {"priceDiscount", order.priceDiscount},
          {"coupon", coupon},
          {"payinfo",
           {{"payMethod", order.payinfo.payMethod},
            {"status", order.payinfo.status},
            {"setting", {{"pg", order.payinfo.pg}, {"pgName", order.payinfo.pgName}}}}},
          {"items", items}};
}

}  // namespace ordersim
