#include "OrderModel.h"

#include <array>
#include <utility>

namespace ordersim {

namespace {
constexpr std::array<std::pair<OrderType, const char*>, 3> kTypes{
    {{OrderType::SHOP, "SHOP"},
     {OrderType::TAKEOUT, "TAKEOUT"},
     {OrderType::DELIVERY, "DELIVERY"}}};
constexpr std::array<std::pair<OrderStatus, const char*>, 4> kStatuses{
    {{OrderStatus::ORDER, "ORDER"},
     {OrderStatus::PAY, "PAY"},
     {OrderStatus::WORKING, "WORKING"},
     {OrderStatus::DONE, "DONE"}}};

template <typename E, size_t N>
const char* NameOf(const std::array<std::pair<E, const char*>, N>& table, E value) {
  for (const auto& [e, name] : table)
    if (e == value) return name;
  return "";
}

template <typename E, size_t N>
std::optional<E> ValueOf(const std::array<std::pair<E, const char*>, N>& table,
                         std::string_view text) {
  for (const auto& [e, name] : table)
    if (text == name) return e;
  return std::nullopt;
}
}  // namespace

const char* ToString(OrderType type) { return NameOf(kTypes, type); }
const char* ToString(OrderStatus status) { return NameOf(kStatuses, status); }
std::optional<OrderType> ParseOrderType(std::string_view text) { return ValueOf(kTypes, text); }
std::optional<OrderStatus> ParseOrderStatus(std::string_view text) {
  return ValueOf(kStatuses, text);
}

int Order::priceGoods() const {
  int sum = 0;
  for (const auto& item : items) {
    int unit = item.price;
    for (const auto& group : item.pickOptions)
      for (const auto& option : group.items) unit += option.price;
    sum += unit * item.count;
  }
  return sum;
}

int Order::price() const { return priceGoods() + priceShip - priceDiscount; }

Order SampleOrder(OrderType type) {
  Order order;
  order.orderType = type;
  order.memberPhone = "01012345678";
  order.items = {
      OrderItem{"김치찌개",
                9000,
                2,
                {OptionGroup{"추가 선택",
                             {OptionItem{"공기밥 추가", 1000}, OptionItem{"계란말이", 3000}}}}},
      OrderItem{"제육볶음", 11000, 1, {}},
  };
  order.coupon = Coupon{"첫 주문 할인", "SHOP"};
  order.priceDiscount = 2000;
  order.payinfo = Payment{"CARD", "PAID", "nicepay", "나이스페이"};
  order.commentShop = "맵지 않게 해주세요";
  switch (type) {
    case OrderType::DELIVERY:
      order.priceShip = 3000;
      order.shipAddr1 = "서울특별시 중구 세종대로 110";
      order.shipAddr2 = "101동 1203호";
      order.commentShip = "문 앞에 놓아주세요";
      order.visitAt = "";
      break;
    case OrderType::TAKEOUT:
      order.shipAddr1 = "";
      order.shipAddr2 = "";
      order.commentShip = "";
      order.visitAt = "18:30";
      break;
    case OrderType::SHOP:
      order.shipAddr1 = "";
      order.shipAddr2 = "";
      order.commentShip = "";
      order.visitAt = "";
      break;
  }
  return order;
}

}  // namespace ordersim
