// Order replies to records: the field rules and every outcome in errMsg.

#include "Expect.h"
#include "api/OrderParse.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using nlohmann::json;

namespace {

json Fixture() { return json::parse(expect::ReadFile(TALVEN_TEST_DATA "/order-delivery.json")); }

json& Node(json& reply) { return reply["data"]["shopOrderList"]["edges"][0]["node"]; }

TOrderInfo FromJson(const json& reply) {
  return OrderFromReply(QString::fromStdString(reply.dump()));
}

void ExpectEmptyRecord(const TOrderInfo& order) {
  EXPECT_TRUE(order.no.isEmpty());
  EXPECT_TRUE(order.memberPhone.isEmpty());
  EXPECT_EQ(order.totalPrice, 0);
  EXPECT_TRUE(order.item.isEmpty());
}

}  // namespace

TEST(OrderReply, DeliveryFixtureFillsEveryField) {
  const TOrderInfo o = FromJson(Fixture());
  EXPECT_EQ(o.errMsg, "");
  EXPECT_EQ(o.no, "0042");
  EXPECT_EQ(o.orderStatus, "ORDER");
  EXPECT_EQ(o.memberPhone, "010-2345-6789");
  EXPECT_EQ(o.payAt, "2026-12-11 12:03:41");
  EXPECT_EQ(o.visitAt, "2026-12-11 12:45:00");
  EXPECT_EQ(o.orderType, "DELIVERY");
  EXPECT_EQ(o.shipAddr1, "서울특별시 마포구 월드컵북로 396");
  EXPECT_EQ(o.shipAddr2, "누리꿈스퀘어 비즈니스타워 12층");
  EXPECT_EQ(o.commentShop, "맵지 않게 해주세요");
  EXPECT_EQ(o.commentShip, "문 앞에 두고 벨 눌러주세요");
  EXPECT_EQ(o.totalPrice, 70000);
  EXPECT_EQ(o.priceGoods, 69000);
  EXPECT_EQ(o.priceShip, 3000);
  EXPECT_EQ(o.priceDiscount, -2000);
  EXPECT_EQ(o.CouponName, "첫 주문 감사 쿠폰 2,000원 할인");
  EXPECT_EQ(o.CouponType, "SHOP");
  EXPECT_EQ(o.payMethod, "C");
  EXPECT_EQ(o.payStatus, "S");
  EXPECT_EQ(o.payPg, "kcp");
  EXPECT_EQ(o.payPgName, "카드결제");

  // Goods lines followed by their options, option prices times the goods count.
  const struct {
    const char* name;
    int price;
    int cnt;
    bool isOtp;
  } items[] = {{"양념치킨", 18000, 1, false},     {"└순살 변경", 2000, 0, true},
               {"└치즈볼 5개", 3500, 0, true},    {"└콜라 1.25L", 2500, 0, true},
               {"후라이드치킨", 16000, 1, false}, {"떡볶이", 10000, 2, false},
               {"└매운맛", 0, 0, true},           {"김말이튀김", 3000, 1, false},
               {"오뎅탕", 4500, 1, false},        {"치즈스틱 2개", 4000, 2, false},
               {"감자튀김(대)", 3500, 1, false},  {"사이다 500ml", 2000, 1, false}};
  ASSERT_EQ(o.item.size(), std::size(items));
  for (qsizetype i = 0; i < o.item.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(o.item[i].name, QString(items[i].name));
    EXPECT_EQ(o.item[i].price, items[i].price);
    EXPECT_EQ(o.item[i].cnt, items[i].cnt);
    EXPECT_EQ(o.item[i].isOtp, items[i].isOtp);
  }
}

TEST(OrderReply, FieldRules) {
  const struct {
    const char* what;
    std::function<void(json&)> change;
    std::function<void(const TOrderInfo&)> check;
  } cases[] = {
      {"no padded to four digits", [](json& n) { n["no"] = 7; },
       [](const TOrderInfo& o) { EXPECT_EQ(o.no, "0007"); }},
      {"long no kept", [](json& n) { n["no"] = 12345; },
       [](const TOrderInfo& o) { EXPECT_EQ(o.no, "12345"); }},
      {"negative no keeps its sign", [](json& n) { n["no"] = -7; },
       [](const TOrderInfo& o) { EXPECT_EQ(o.no, "-0007"); }},
      {"no as text", [](json& n) { n["no"] = "31"; },
       [](const TOrderInfo& o) { EXPECT_EQ(o.no, "0031"); }},
      {"phone hyphenated", [](json& n) { n["member"]["phone"] = "01011112222"; },
       [](const TOrderInfo& o) { EXPECT_EQ(o.memberPhone, "010-1111-2222"); }},
      {"empty comments become -",
       [](json& n) {
         n["commentShop"] = "";
         n["commentShip"] = "";
       },
       [](const TOrderInfo& o) {
         EXPECT_EQ(o.commentShop, "-");
         EXPECT_EQ(o.commentShip, "-");
       }},
      {"null comments and texts stay null",
       [](json& n) {
         n["commentShop"] = nullptr;
         n["shipAddr2"] = nullptr;
         n["payinfo"]["setting"]["pgName"] = nullptr;
       },
       [](const TOrderInfo& o) {
         EXPECT_EQ(o.commentShop, "null");
         EXPECT_EQ(o.shipAddr2, "null");
         EXPECT_EQ(o.payPgName, "null");
       }},
      {"discount negated", [](json& n) { n["priceDiscount"] = 2000; },
       [](const TOrderInfo& o) { EXPECT_EQ(o.priceDiscount, -2000); }},
      {"no coupon", [](json& n) { n["coupon"] = nullptr; },
       [](const TOrderInfo& o) {
         EXPECT_EQ(o.errMsg, "");
         EXPECT_EQ(o.CouponName, "");
         EXPECT_EQ(o.CouponType, "");
       }},
      {"goods without options", [](json& n) { n["items"] = json::array({n["items"][1]}); },
       [](const TOrderInfo& o) {
         ASSERT_EQ(o.item.size(), 1);
         EXPECT_EQ(o.item[0].name, "후라이드치킨");
       }},
      {"no goods", [](json& n) { n["items"] = json::array(); },
       [](const TOrderInfo& o) {
         EXPECT_EQ(o.errMsg, "");
         EXPECT_TRUE(o.item.isEmpty());
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    json reply = Fixture();
    c.change(Node(reply));
    const TOrderInfo order = FromJson(reply);
    EXPECT_EQ(order.errMsg, "") << order.errMsg.toStdString();
    c.check(order);
  }
}

TEST(OrderReply, Outcomes) {
  const auto patched = [](std::function<void(json&)> change) {
    json reply = Fixture();
    change(reply);
    return QString::fromStdString(reply.dump());
  };
  const struct {
    const char* what;
    QString reply;
    const char* errMsg;  // nullptr: the reader's failure message, never empty
  } cases[] = {
      {"errors null is a success", patched([](json& r) { r["errors"] = nullptr; }), ""},
      {"errors empty list", patched([](json& r) { r["errors"] = json::array(); }), "err"},
      {"errors present",
       QString::fromStdString(expect::ReadFile(TALVEN_TEST_DATA "/order-errors.json")), "err"},
      {"no order matched",
       QString::fromStdString(expect::ReadFile(TALVEN_TEST_DATA "/order-no-edges.json")),
       "결과없음"},
      {"empty reply of a failed request", "", nullptr},
      {"malformed reply",
       QString::fromStdString(expect::ReadFile(TALVEN_TEST_DATA "/order-malformed.json")), nullptr},
      {"data null", R"({"data":null})", nullptr},
      {"edges not an array", R"({"data":{"shopOrderList":{"edges":{}}}})", nullptr},
      {"edge without node", R"({"data":{"shopOrderList":{"edges":[{}]}}})", nullptr},
      {"inner coupon null", patched([](json& r) { Node(r)["coupon"]["coupon"] = nullptr; }),
       nullptr},
      {"payinfo missing", patched([](json& r) { Node(r).erase("payinfo"); }), nullptr},
      {"price null", patched([](json& r) { Node(r)["price"] = nullptr; }), nullptr},
      {"option group without items",
       patched([](json& r) { Node(r)["items"][0]["pickOptions"][0].erase("items"); }), nullptr},
      {"line amount beyond 32 bits", patched([](json& r) {
         Node(r)["items"][0]["goods"]["price"] = 2000000000;
         Node(r)["items"][0]["count"] = 2;
       }),
       nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const TOrderInfo order = OrderFromReply(c.reply);
    if (c.errMsg == nullptr) {
      // A failed read hands out an empty record that the dispatch retries, never one to print.
      EXPECT_FALSE(order.errMsg.isEmpty());
      EXPECT_NE(order.errMsg, "err");
      EXPECT_NE(order.errMsg, "결과없음");
      ExpectEmptyRecord(order);
    } else {
      EXPECT_EQ(order.errMsg, QString(c.errMsg));
      if (!QString(c.errMsg).isEmpty()) ExpectEmptyRecord(order);
    }
  }
}

TEST(OrderReply, FailedParseNamesTheMember) {
  json reply = Fixture();
  Node(reply)["coupon"]["coupon"] = nullptr;
  EXPECT_TRUE(FromJson(reply).errMsg.contains("\"coupon\""));
}
