// Each reply handling writes at most one outcome line to the debug log, with the failure's text.

#include "api/OrderParse.h"
#include "api/ShopReply.h"
#include "diag/TDebugWindow.h"

#include <gtest/gtest.h>

namespace {

class LogLines : public ::testing::Test {
 protected:
  void SetUp() override {
    TDebugWindow::ResetForTests();
    TDebugWindow::UseDebugWin();
  }
  void TearDown() override { TDebugWindow::ResetForTests(); }

  // The logged lines without their "HH:MM:SS " stamp.
  static QStringList Texts() {
    QStringList texts;
    for (const QString& line : TDebugWindow::Lines()) texts << line.mid(9);
    return texts;
  }
};

const char* kNode =
    R"({"no":1,"status":"ORDER","member":{"phone":"01011112222"},"payAt":"","visitAt":"",)"
    R"("orderType":"SHOP","shipAddr1":"","shipAddr2":"","commentShop":"","commentShip":"",)"
    R"("price":1,"priceGoods":1,"priceShip":0,"priceDiscount":0,"coupon":null,)"
    R"("payinfo":{"payMethod":"C","status":"S","setting":{"pg":"p","pgName":"n"}},"items":[]%1})";

QString Reply(const QString& node) {
  return QStringLiteral(R"({"data":{"shopOrderList":{"edges":[{"node":%1}]}}})").arg(node);
}

}  // namespace

TEST_F(LogLines, OrderOutcomes) {
  const struct {
    QString reply;
    QString line;  // empty: nothing logged; otherwise the start of the one line
  } cases[] = {
      {Reply(QString(kNode).arg("")), ""},
      {R"({"errors":[{"message":"x"}]})", "GetOrderInfo err"},
      {R"({"data":{"shopOrderList":{"edges":[]}}})", "GetOrderInfo 결과없음"},
      {"", "GetOrderInfo err2 : reply is not valid JSON"},
      {R"({"data":{}})", "GetOrderInfo err2 : member \"shopOrderList\""},
      {Reply(QString(kNode).arg("").replace(R"("price":1,)", "")),
       "OrderParse err : member \"price\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reply.toStdString());
    TDebugWindow::Clear();
    const TOrderInfo order = OrderFromReply(c.reply);
    const QStringList texts = Texts();
    if (c.line.isEmpty()) {
      EXPECT_TRUE(texts.isEmpty()) << texts.join('\n').toStdString();
      EXPECT_EQ(order.errMsg, "");
      continue;
    }
    ASSERT_EQ(texts.size(), 1) << texts.join('\n').toStdString();
    EXPECT_TRUE(texts[0].startsWith(c.line)) << texts[0].toStdString();
  }
}

TEST_F(LogLines, ShopReadFailureIsLoggedAndRefusalIsNot) {
  TShop shop;
  ApplyShopReply(R"({"errors":[]})", shop);
  EXPECT_TRUE(Texts().isEmpty());
  ApplyShopReply(R"({"data":{"shop":{"name":"N"}}})", shop);
  ASSERT_EQ(Texts().size(), 1);
  EXPECT_EQ(Texts()[0], "GetShopInfo err2 : " + shop.errMsg);
}
