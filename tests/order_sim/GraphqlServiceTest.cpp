#include <set>

#include "SimFixture.h"

using nlohmann::json;
using ordersim::OrderStatus;
using ordersim::OrderType;

namespace {

// The order document exactly as the client writes it, body and all.
std::string OrderBody(const std::string& escapedToken) {
  std::string body =
      R"({"query": "{ shopOrderList (token: \"%s\") { edges { node { no token status member { phone } payAt )"
      R"(visitAt orderType shipAddr1 shipAddr2 commentShop commentShip price priceGoods priceShip priceDiscount )"
      R"(coupon { coupon { name burdenType } } payinfo { payMethod status setting { pg pgName } } items { price )"
      R"(count goods { name price } pickOptions { option { name } items { name price } } } } } } }" })";
  return body.replace(body.find("%s"), 2, escapedToken);
}

bool HasErrors(const json& reply) { return reply.contains("errors") && !reply["errors"].is_null(); }

}  // namespace

class GraphqlServiceTest : public SimFixture {};

TEST_F(GraphqlServiceTest, OrderDocumentGivesTheFullNode) {
  ASSERT_EQ(OrderBody("%s").size(), 397u);
  const ordersim::Order placed =
      sim.placeOrder(demo.id, ordersim::SampleOrder(OrderType::DELIVERY));

  const CurlReply reply = post(gqlUrl(), OrderBody(placed.token));
  ASSERT_TRUE(reply.ok) << reply.error;
  EXPECT_EQ(reply.contentType, "application/json; charset=utf-8");
  const json parsed = json::parse(reply.body);
  ASSERT_FALSE(HasErrors(parsed)) << reply.body;
  const json& edges = parsed["data"]["shopOrderList"]["edges"];
  ASSERT_EQ(edges.size(), 1u);
  const json& node = edges[0]["node"];

  std::set<std::string> keys;
  for (const auto& [key, value] : node.items()) keys.insert(key);
  EXPECT_EQ(keys, (std::set<std::string>{"no", "token", "status", "member", "payAt", "visitAt",
                                         "orderType", "shipAddr1", "shipAddr2", "commentShop",
                                         "commentShip", "price", "priceGoods", "priceShip",
                                         "priceDiscount", "coupon", "payinfo", "items"}));
  EXPECT_EQ(node["no"], placed.no);
  EXPECT_EQ(node["token"], placed.token);
  EXPECT_EQ(node["status"], "ORDER");
  EXPECT_EQ(node["orderType"], "DELIVERY");
  EXPECT_EQ(node["member"], json({{"phone", "01012345678"}}));
  // 김치찌개 (9000 + 1000 + 3000) x 2 + 제육볶음 11000 = 37000; + 3000 delivery - 2000 coupon.
  EXPECT_EQ(node["priceGoods"], 37000);
  EXPECT_EQ(node["priceShip"], 3000);
  EXPECT_EQ(node["priceDiscount"], 2000);
  EXPECT_EQ(node["price"], 38000);
  EXPECT_EQ(node["coupon"], json({{"coupon", {{"name", "첫 주문 할인"}, {"burdenType", "SHOP"}}}}));
  EXPECT_EQ(node["payinfo"]["setting"]["pgName"], "나이스페이");
  const json& items = node["items"];
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0]["price"], 26000);
  EXPECT_EQ(items[0]["count"], 2);
  EXPECT_EQ(items[0]["goods"], json({{"name", "김치찌개"}, {"price", 9000}}));
  EXPECT_EQ(items[0]["pickOptions"][0]["option"]["name"], "추가 선택");
  EXPECT_EQ(items[0]["pickOptions"][0]["items"][1], json({{"name", "계란말이"}, {"price", 3000}}));
  EXPECT_EQ(items[1]["pickOptions"], json::array());
}

TEST_F(GraphqlServiceTest, NullMembersAndNoCouponComeAsJsonNull) {
  ordersim::Order order = ordersim::SampleOrder(OrderType::TAKEOUT);
  order.coupon.reset();
  order.commentShop.reset();
  const auto placed = sim.placeOrder(demo.id, order);
  const json node = gql("{ shopOrderList(token: \"" + placed.token +
                        "\") { edges { node { coupon { coupon { name } } commentShop "
                        "commentShip } } } }")["data"]["shopOrderList"]["edges"][0]["node"];
  EXPECT_EQ(node, json({{"coupon", nullptr}, {"commentShop", nullptr}, {"commentShip", ""}}));
}

TEST_F(GraphqlServiceTest, TokenWithQuoteAndBackslashFindsItsOrder) {
  ordersim::Order order = ordersim::SampleOrder(OrderType::SHOP);
  order.token = "ab\"c\\d";
  sim.placeOrder(demo.id, order);
  sim.placeOrder(demo.id, ordersim::SampleOrder(OrderType::SHOP));

  // Escaped for the document (\" and \\), then for the JSON body around it.
  const CurlReply reply = post(gqlUrl(), OrderBody(R"(ab\\\"c\\\\d)"));
  const json parsed = json::parse(reply.body);
  ASSERT_FALSE(HasErrors(parsed)) << reply.body;
  const json& edges = parsed["data"]["shopOrderList"]["edges"];
  ASSERT_EQ(edges.size(), 1u);
  EXPECT_EQ(edges[0]["node"]["token"], "ab\"c\\d");

  // Unescaped, the quote ends the string early and the rest is not one query any more.
  const json broken = gql(R"({ shopOrderList (token: "ab"c\d") { totalCount } })");
  EXPECT_TRUE(HasErrors(broken));
  EXPECT_TRUE(broken["data"].is_null());
}

TEST_F(GraphqlServiceTest, UnknownTokenGivesEmptyEdges) {
  const json parsed = json::parse(post(gqlUrl(), OrderBody("nope")).body);
  EXPECT_EQ(parsed["data"]["shopOrderList"]["edges"], json::array());
  EXPECT_FALSE(parsed.contains("errors"));
}

TEST_F(GraphqlServiceTest, CountsOpenOrdersByStatus) {
  const auto first = sim.placeOrder(demo.id, ordersim::SampleOrder(OrderType::DELIVERY));
  const auto second = sim.placeOrder(demo.id, ordersim::SampleOrder(OrderType::TAKEOUT));
  const auto third = sim.placeOrder(demo.id, ordersim::SampleOrder(OrderType::SHOP));
  sim.placeOrder(demo.id, ordersim::SampleOrder(OrderType::SHOP));
  ASSERT_TRUE(sim.setStatus(first.token, OrderStatus::PAY));
  ASSERT_TRUE(sim.setStatus(second.token, OrderStatus::WORKING));
  ASSERT_TRUE(sim.setStatus(third.token, OrderStatus::DONE));
  ordersim::Shop other = demo;
  other.id = "2002";
  other.authCode = "other";
  sim.addShop(other);
  sim.placeOrder(other.id, ordersim::SampleOrder(OrderType::SHOP));  // another shop's order

  const json wait = gql(R"({ shopOrderList(status: "ORDER,PAY") { totalCount } })");
  EXPECT_EQ(wait, json({{"data", {{"shopOrderList", {{"totalCount", 2}}}}}}));
  const json total = gql(R"({ shopOrderList(status: "ORDER,PAY,WORKING") { totalCount } })");
  EXPECT_EQ(total["data"]["shopOrderList"]["totalCount"], 3);
  EXPECT_TRUE(HasErrors(gql(R"({ shopOrderList(status: "ORDER,LATE") { totalCount } })")));
}

TEST_F(GraphqlServiceTest, ShopQueryAndUseStopMutation) {
  const json shop =
      gql("{ shop(shopId: " + demo.id +
          ") { name tel bizNum ownerName addr1 addr2 useStop deliveryMessage origin affiliate } }");
  ASSERT_FALSE(HasErrors(shop)) << shop.dump();
  EXPECT_EQ(shop["data"]["shop"]["name"], demo.name);
  EXPECT_EQ(shop["data"]["shop"]["useStop"], false);
  EXPECT_EQ(shop["data"]["shop"].size(), 10u);

  const json set = gql("mutation { shopSetting(useStop: true) { result msg } }");
  ASSERT_FALSE(HasErrors(set)) << set.dump();
  EXPECT_EQ(set["data"]["shopSetting"]["result"], true);
  EXPECT_TRUE(sim.shop(demo.id)->useStop);
  EXPECT_EQ(gql("{ shop(shopId: " + demo.id + ") { useStop } }")["data"]["shop"]["useStop"], true);
}

TEST_F(GraphqlServiceTest, EverythingElseGetsAnErrorsReply) {
  ordersim::Order order = ordersim::SampleOrder(OrderType::SHOP);
  order.token = "x";
  order.coupon.reset();
  sim.placeOrder(demo.id, order);
  const std::string shopQuery = "{ shop(shopId: " + demo.id + ") { name } }";
  struct Case {
    const char* what;
    std::string document;
    std::string id = demo.id;
    std::string auth = demo.authCode;
  };
  const Case cases[] = {
      {"wrong auth_code", shopQuery, demo.id, "wrong"},
      {"unknown shop id", shopQuery, "9999", demo.authCode},
      {"another shop's id in the document", "{ shop(shopId: 2002) { name } }"},
      {"unknown top field", "{ shopList { name } }"},
      {"unknown member", "{ shop(shopId: " + demo.id + ") { name colour } }"},
      {"object without selection", R"({ shopOrderList(token: "x") { edges } })"},
      {"null object without selection",
       R"({ shopOrderList(token: "x") { edges { node { coupon } } } })"},
      {"selection on a text", "{ shop(shopId: " + demo.id + ") { name { x } } }"},
      {"mutation field as query", "{ shopSetting(useStop: true) { result } }"},
      {"query field as mutation", "mutation { shop(shopId: 1) { name } }"},
      {"useStop not a boolean", R"(mutation { shopSetting(useStop: "true") { result } })"},
      {"unknown argument", R"({ shopOrderList(token: "x", page: 2) { totalCount } })"},
      {"syntax error", "{ shop(shopId: " + demo.id + ") { name }"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const json reply = gql(c.document, c.id, c.auth);
    ASSERT_TRUE(reply.is_object());
    EXPECT_TRUE(reply.contains("data") && reply["data"].is_null()) << reply.dump();
    ASSERT_TRUE(reply.contains("errors") && reply["errors"].is_array()) << reply.dump();
    EXPECT_TRUE(reply["errors"][0]["message"].is_string());
  }
  EXPECT_FALSE(sim.shop(demo.id)->useStop);
}

TEST_F(GraphqlServiceTest, BodyThatIsNotAQueryIsRefused) {
  for (const char* body : {"", "not json", R"({"query": 5})", R"(["{ shop }"])"}) {
    SCOPED_TRACE(body);
    const CurlReply reply = post(gqlUrl(), body);
    EXPECT_EQ(reply.status, 400);
    EXPECT_TRUE(json::parse(reply.body)["errors"].is_array());
  }
}
