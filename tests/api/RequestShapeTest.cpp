// Each call's request as it reaches the service: method, path and query, headers, the body byte
// for byte, and the body's own line in the debug log.

#include <functional>

#include "ApiWorld.h"
#include "api/GetOrderInfo.h"
#include "api/ShopInfo.h"
#include "api/SmsLogin.h"
#include "settings/IniFile.h"
#include "settings/ShopSettings.h"

namespace {

const QString kOrderDocument =
    R"({"query": "{ shopOrderList (token: \"%s\") { edges { node { no token status member { phone } payAt visitAt orderType shipAddr1 shipAddr2 commentShop commentShip price priceGoods priceShip priceDiscount coupon { coupon { name burdenType } } payinfo { payMethod status setting { pg pgName } } items { price count goods { name price } pickOptions { option { name } items { name price } } } } } } }" })";

using RequestShape = ApiWorld;

}  // namespace

TEST_F(RequestShape, EveryCallSendsItsExactRequest) {
  ASSERT_EQ(kOrderDocument.size(), 397);
  IniFile(SettingIniPath()).WriteString("SET", "ShopId", "101");
  IniFile(SettingIniPath()).WriteString("SET", "AuthCode", "auth101");
  const TShop shop = session();
  const SmsLoginForm admin{" 010-1111-2222 ", " 1234 ", false, false};
  const SmsLoginForm sub{"010-3333-4444", "9876", true, false};
  const std::string gql = "/gql?id=101&auth_code=auth101";

  struct Case {
    const char* name;
    std::function<void()> call;
    std::string target;
    QString body;
  } cases[] = {
      {"GetOrderInfo", [&] { GetOrderInfo("tok-1", shop); }, gql,
       QString(kOrderDocument).replace("%s", "tok-1")},
      {"GetShopInfo", [] { GetShopInfo(true); }, gql,
       R"({"query": "{ shop(shopId: 101) { name tel bizNum ownerName addr1 addr2 useStop deliveryMessage origin affiliate } }" })"},
      {"GetWaitCnt", [&] { GetWaitCnt(shop); }, gql,
       R"({"query": "{ shopOrderList(status: \"ORDER,PAY\") { totalCount } }" })"},
      {"GetTotalCnt", [&] { GetTotalCnt(shop); }, gql,
       R"({"query": "{ shopOrderList(status: \"ORDER,PAY,WORKING\") { totalCount } }" })"},
      {"SetUseStop true", [&] { SetUseStop(shop, true); }, gql,
       R"({"query": "mutation { shopSetting(useStop: true) { result msg } }" })"},
      {"SetUseStop false", [&] { SetUseStop(shop, false); }, gql,
       R"({"query": "mutation { shopSetting(useStop: false) { result msg } }" })"},
      {"SendAuthSms admin", [&] { SendAuthSms(admin); }, "/shops/login_sms_send",
       R"({"phone":"010-1111-2222"})"},
      {"SendAuthSms sub", [&] { SendAuthSms(sub); }, "/shops/login_sms_send_subid",
       R"({"phone":"010-3333-4444"})"},
      {"AuthSmsLogin admin", [&] { AuthSmsLogin(admin); }, "/shops/login_sms_check",
       R"({"phone":"010-1111-2222","auth":"1234","from":"orderpos"})"},
      {"AuthSmsLogin sub", [&] { AuthSmsLogin(sub); }, "/shops/login_sms_check_subid",
       R"({"phone":"010-3333-4444","auth":"9876","from":"orderpos"})"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sim_.clearRequests();
    c.call();
    const ordersim::RecordedRequest r = onlyRequest();
    EXPECT_TRUE(r.tls);
    EXPECT_EQ(r.method, "POST");
    EXPECT_EQ(r.target, c.target);
    EXPECT_EQ(r.header("Content-Type"), "application/json");
    EXPECT_TRUE(r.chunked);
    EXPECT_EQ(r.header("Content-Length"), std::nullopt);
    EXPECT_EQ(r.body, c.body.toStdString());
    EXPECT_TRUE(debugLines().contains(c.body));
  }
}
