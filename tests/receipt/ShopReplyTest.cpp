// Shop replies applied to a record loaded from the settings.

#include "Expect.h"
#include "api/ShopReply.h"

#include <gtest/gtest.h>

namespace {

TShop Loaded() {
  TShop shop;
  shop.ShopId = "17";
  shop.AuthCode = "abc";
  shop.PrinterName = "COM3";
  return shop;
}

}  // namespace

TEST(ShopReply, FillsTheShopFieldsAndKeepsTheSettings) {
  TShop shop = Loaded();
  shop.errMsg = "stale";
  ApplyShopReply(QString::fromStdString(expect::ReadFile(TALVEN_TEST_DATA "/shop.json")), shop);
  EXPECT_EQ(shop.errMsg, "");
  EXPECT_EQ(shop.shopName, "치킨공방 망원점");
  EXPECT_EQ(shop.tel, "02-3141-5926");
  EXPECT_EQ(shop.biznum, "123-45-67890");
  EXPECT_EQ(shop.ownerName, "한지민");
  EXPECT_EQ(shop.addr1, "서울특별시 마포구 망원로 12");
  EXPECT_EQ(shop.addr2, "1층");
  EXPECT_FALSE(shop.useStop);
  EXPECT_EQ(shop.deliveryMessage, "리뷰 이벤트 참여 시 음료 서비스!");
  EXPECT_EQ(shop.origin, "닭고기: 국내산, 쌀: 국내산");
  EXPECT_EQ(shop.affiliate, "배달특급");
  EXPECT_FALSE(shop.useOrigin);
  EXPECT_EQ(shop.ShopId, "17");
  EXPECT_EQ(shop.PrinterName, "COM3");
}

TEST(ShopReply, Outcomes) {
  const char* full = R"({"data":{"shop":{"name":"N","tel":"T","bizNum":"B","ownerName":"O",)"
                     R"("addr1":"A1","addr2":"A2","useStop":%1,"deliveryMessage":"D",)"
                     R"("origin":"R","affiliate":"F"}}})";
  const struct {
    const char* what;
    QString reply;
    const char* errMsg;    // nullptr: the reader's failure message
    const char* shopName;  // what the record holds afterwards
    const char* affiliate;
    bool useStop;
  } cases[] = {
      {"success", QString(full).arg("true"), "", "N", "F", true},
      {"useStop as text", QString(full).arg("\"False\""), "", "N", "F", false},
      {"errors", QString::fromStdString(expect::ReadFile(TALVEN_TEST_DATA "/shop-errors.json")),
       "err", "", "", false},
      {"errors null is a success",
       R"({"errors":null,"data":{"shop":{"name":"N","tel":"","bizNum":"","ownerName":"","addr1":"","addr2":"","useStop":false,"deliveryMessage":"","origin":"","affiliate":"F"}}})",
       "", "N", "F", false},
      {"name null", R"({"data":{"shop":{"name":null}}})", "err", "", "", false},
      {"name empty", R"({"data":{"shop":{"name":""}}})", "err", "", "", false},
      {"shop null", R"({"data":{"shop":null}})", nullptr, "", "", false},
      // Fields before the failing one keep what was read.
      {"useStop null", QString(full).arg("null"), nullptr, "N", "", false},
      {"empty reply", "", nullptr, "", "", false},
      {"not JSON", "<html>502</html>", nullptr, "", "", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TShop shop = Loaded();
    ApplyShopReply(c.reply, shop);
    if (c.errMsg == nullptr) {
      EXPECT_FALSE(shop.errMsg.isEmpty());
      EXPECT_NE(shop.errMsg, "err");
    } else {
      EXPECT_EQ(shop.errMsg, QString(c.errMsg));
    }
    EXPECT_EQ(shop.shopName, QString(c.shopName));
    EXPECT_EQ(shop.affiliate, QString(c.affiliate));
    EXPECT_EQ(shop.useStop, c.useStop);
    EXPECT_EQ(shop.ShopId, "17");
  }
}

TEST(ShopReply, UseStopNullKeepsTheFieldsBeforeIt) {
  TShop shop = Loaded();
  ApplyShopReply(
      R"({"data":{"shop":{"name":"N","tel":"T","bizNum":"B","ownerName":"O","addr1":"A1",)"
      R"("addr2":"A2","useStop":null,"deliveryMessage":"D","origin":"R","affiliate":"F"}}})",
      shop);
  EXPECT_TRUE(shop.errMsg.contains("useStop")) << shop.errMsg.toStdString();
  EXPECT_EQ(
      QStringList({shop.shopName, shop.tel, shop.biznum, shop.ownerName, shop.addr1, shop.addr2}),
      QStringList({"N", "T", "B", "O", "A1", "A2"}));
  EXPECT_EQ(QStringList({shop.deliveryMessage, shop.origin, shop.affiliate}),
            QStringList({"", "", ""}));
}
