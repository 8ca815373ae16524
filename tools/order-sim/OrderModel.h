#pragma once
// Shops and orders as the ordering service keeps them. Texts are UTF-8. A std::nullopt text is
// sent as JSON null, so tests can see how the client reads a null member.

#include <optional>
#include <string>
#include <vector>

namespace ordersim {

enum class OrderType { SHOP, TAKEOUT, DELIVERY };
enum class OrderStatus { ORDER, PAY, WORKING, DONE };

const char* ToString(OrderType type);
const char* ToString(OrderStatus status);
std::optional<OrderType> ParseOrderType(std::string_view text);      // exact, upper case
std::optional<OrderStatus> ParseOrderStatus(std::string_view text);  // exact, upper case

struct SubAdmin {
  std::string phone;  // any form; matched on its digits
  std::string idSub;
  std::string authCodeSub;
};

struct Shop {
  std::string id;        // the shop's key "id" (digits in the demo; any text is accepted)
  std::string authCode;  // the shop's key "auth_code"
  std::string adminPhone;
  std::vector<SubAdmin> subAdmins;
  std::string name;
  std::string tel;
  std::string bizNum;
  std::string ownerName;
  std::string addr1;
  std::string addr2;
  bool useStop = false;
  std::string deliveryMessage;
  std::string origin;
  std::string affiliate;
};

struct OptionItem {
  std::string name;
  int price = 0;  // per goods unit
};

struct OptionGroup {
  std::string name;  // the group's "option" { name }
  std::vector<OptionItem> items;
};

struct OrderItem {
  std::string name;  // goods name
  int price = 0;     // goods unit price
  int count = 1;
  std::vector<OptionGroup> pickOptions;
};

struct Coupon {
  std::string name;
  std::string burdenType;  // e.g. "SHOP", "PLATFORM"
};

struct Payment {
  std::string payMethod;  // e.g. "CARD"
  std::string status;     // e.g. "PAID"
  std::string pg;
  std::string pgName;
};

struct Order {
  int no = 0;          // 0: the service numbers it when placed
  std::string token;   // empty: the service makes one when placed
  std::string shopId;  // empty: the shop given to placeOrder
  OrderStatus status = OrderStatus::ORDER;
  OrderType orderType = OrderType::DELIVERY;
  std::string memberPhone = "01011112222";
  std::optional<std::string> payAt = "";  // empty text: the time of placing
  std::optional<std::string> visitAt;
  std::optional<std::string> shipAddr1;
  std::optional<std::string> shipAddr2;
  std::optional<std::string> commentShop;
  std::optional<std::string> commentShip;
  int priceShip = 0;
  int priceDiscount = 0;  // positive amount, as the service sends it
  std::optional<Coupon> coupon;
  Payment payinfo;
  std::vector<OrderItem> items;

  // (goods price + option prices) x count, summed over the items.
  int priceGoods() const;
  // priceGoods() + priceShip - priceDiscount.
  int price() const;
};

// A realistic Korean order of the given kind: two goods, the first with an option group of two
// options, a coupon and a card payment. Comments and addresses fit the kind.
Order SampleOrder(OrderType type);

}  // namespace ordersim
