#include <gtest/gtest.h>

#include <functional>

#include "QStringPrinter.h"
#include "support/TempDataFolder.h"
#include "api/BodyText.h"
#include "api/Endpoints.h"

TEST(Endpoints, BuiltFromServerIni) {
  TempDataFolder data;
  data.writeFile("server.ini", "[Server]\nWebHost=web.test:8443\nOrderHost=order.test\n");
  struct Case {
    const char* name;
    std::function<QString()> make;
    QString expected;
  } cases[] = {
      {"GetWebUrl", GetWebUrl, "https://web.test:8443"},
      {"GetOrderHost", GetOrderHost, "order.test"},
      {"GetSocketUrl", GetSocketUrl, "wss://order.test"},
      {"GetGqlUrl", GetGqlUrl, "https://order.test/gql?id=%s&auth_code=%s"},
      {"GetSmsSendUrl", GetSmsSendUrl, "https://web.test:8443/shops/login_sms_send"},
      {"GetSmsSendSubUrl", GetSmsSendSubUrl, "https://web.test:8443/shops/login_sms_send_subid"},
      {"GetSmsCheckUrl", GetSmsCheckUrl, "https://web.test:8443/shops/login_sms_check"},
      {"GetSmsCheckSubUrl", GetSmsCheckSubUrl, "https://web.test:8443/shops/login_sms_check_subid"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.make(), c.expected) << c.name;
}

TEST(Endpoints, StoreLoginFilledInOrderAndUnencoded) {
  TempDataFolder data;
  data.writeFile("server.ini", "[Server]\nWebHost=web.test\n");
  EXPECT_EQ(FillFormat(GetStoreLoginUrl(), {"0", "123", "abc"}),
            "https://web.test/store/login?is_sub=0&id=123&auth_code=abc&redirect_url="
            "https://web.test/store2/order/list");
}
