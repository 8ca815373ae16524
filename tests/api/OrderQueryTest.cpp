// The order query against the service: outcomes in errMsg, and tokens that hold the document's
// own syntax.

#include <nlohmann/json.hpp>

#include "ApiWorld.h"
#include "Graphql.h"
#include "api/GetOrderInfo.h"

namespace {

using OrderQuery = ApiWorld;

const std::string kNode =
    R"({"no":7,"token":"t","status":"ORDER","member":{"phone":"01011112222"},"payAt":"2026-01-02 10:00:00",)"
    R"("visitAt":null,"orderType":"DELIVERY","shipAddr1":"a","shipAddr2":"b","commentShop":"","commentShip":"c",)"
    R"("price":9000,"priceGoods":8000,"priceShip":2000,"priceDiscount":1000,"coupon":null,)"
    R"("payinfo":{"payMethod":"C","status":"S","setting":{"pg":"p","pgName":"P"}},)"
    R"("items":[{"price":8000,"count":1,"goods":{"name":"g","price":8000},"pickOptions":[]}]})";

}  // namespace

TEST_F(OrderQuery, OutcomeOfEachReply) {
  struct Case {
    const char* name;
    std::string reply;
    QString errMsg;
    QString no;
  } cases[] = {
      {"errors null succeeds", R"({"errors":null,"data":{"shopOrderList":{"edges":[{"node":)" + kNode + "}]}}}",
       "", "0007"},
      {"errors [] fails", R"({"errors":[],"data":{"shopOrderList":{"edges":[{"node":)" + kNode + "}]}}}",
       "err", ""},
      {"empty edges", R"({"data":{"shopOrderList":{"edges":[]}}})", "결과없음", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    replyNext(c.reply);
    const TOrderInfo order = GetOrderInfo("t", session());
    EXPECT_EQ(order.errMsg, c.errMsg);
    EXPECT_EQ(order.no, c.no);
  }
}

TEST_F(OrderQuery, ServerFailureIsRetryableNotEmptySuccess) {
  failNext(ordersim::FaultKind::Status500);
  const TOrderInfo order = GetOrderInfo("t", session());
  EXPECT_FALSE(order.errMsg.isEmpty());
  EXPECT_NE(order.errMsg, "결과없음");
  EXPECT_TRUE(order.item.isEmpty());
}

TEST_F(OrderQuery, ReadsAPlacedOrder) {
  const ordersim::Order placed = sim_.placeOrder("101", ordersim::SampleOrder(ordersim::OrderType::DELIVERY));
  const TOrderInfo order = GetOrderInfo(QString::fromStdString(placed.token), session());
  EXPECT_EQ(order.errMsg, "");
  EXPECT_EQ(order.orderType, "DELIVERY");
  EXPECT_EQ(order.totalPrice, placed.price());
  EXPECT_EQ(order.item.size(), 4);  // two goods, the first with two options
}

// A token holding the document's quote or escape character must reach the service unchanged
// and must not turn the document into anything but one query.
TEST_F(OrderQuery, TokenWithQuotesStaysOneArgument) {
  for (const std::string token : {R"(q"uote)", R"(back\slash)", R"(x\") { shop(shopId: 1) { name } } #)"}) {
    SCOPED_TRACE(token);
    ordersim::Order order = ordersim::SampleOrder(ordersim::OrderType::SHOP);
    order.token = token;
    sim_.placeOrder("101", order);
    sim_.clearRequests();

    EXPECT_EQ(GetOrderInfo(QString::fromStdString(token), session()).errMsg, "");

    const std::string document = nlohmann::json::parse(onlyRequest().body).at("query").get<std::string>();
    const ordersim::gql::Document parsed = ordersim::gql::Parse(document);
    ASSERT_EQ(parsed.selection.size(), 1u);
    const ordersim::gql::Value* sent = parsed.selection[0].argument("token");
    ASSERT_NE(sent, nullptr);
    EXPECT_EQ(sent->text, token);
  }
}
