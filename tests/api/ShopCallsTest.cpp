// The shop query, the two counters and the order-acceptance switch against the service.

#include "ApiWorld.h"
#include "api/ShopInfo.h"
#include "settings/IniFile.h"
#include "settings/ShopSettings.h"

namespace {

const QString kConnection = "오류가 발생했습니다. 인터넷 연결 및 설정을 확인 후 다시 시도하세요.";
const QString kLoginFailed = "로그인에 실패했습니다. 관리자 설정을 확인 후 다시 시도하세요.";

class ShopCalls : public ApiWorld {
 protected:
  ShopCalls() {
    IniFile ini(SettingIniPath());
    ini.WriteString("SET", "ShopId", "101");
    ini.WriteString("SET", "AuthCode", "auth101");
  }
};

}  // namespace

TEST_F(ShopCalls, ShopInfoWithoutQueryMakesNoRequest) {
  const TShop shop = GetShopInfo(false);
  EXPECT_EQ(shop.ShopId, "101");
  EXPECT_EQ(shop.errMsg, "");
  EXPECT_TRUE(sim_.requests().empty());
}

TEST_F(ShopCalls, ShopInfoFromTheService) {
  const TShop shop = GetShopInfo(true);
  EXPECT_EQ(shop.errMsg, "");
  EXPECT_EQ(shop.shopName, "한빛 분식");
  EXPECT_EQ(shop.biznum, "123-45-67890");
  EXPECT_EQ(shop.affiliate, "한빛");
  EXPECT_EQ(shop.AuthCode, "auth101");
  EXPECT_TRUE(boxes_.texts().isEmpty());
}

TEST_F(ShopCalls, ShopInfoFailures) {
  struct Case {
    const char* name;
    std::string reply;
    QString errMsg;     // empty: the reader's failure text, not "err"
    QStringList boxes;
  } cases[] = {
      {"errors", R"({"errors":[{"message":"no"}],"data":null})", "err", {kLoginFailed}},
      {"name null", R"({"data":{"shop":{"name":null}}})", "err", {kLoginFailed}},
      {"request failed", kServerError, "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    answerNext(c.reply);
    const int before = boxes_.texts().size();
    const TShop shop = GetShopInfo(true);
    if (c.errMsg.isEmpty()) {
      EXPECT_FALSE(shop.errMsg.isEmpty());
      EXPECT_NE(shop.errMsg, "err");
    } else {
      EXPECT_EQ(shop.errMsg, c.errMsg);
    }
    EXPECT_EQ(boxes_.texts().mid(before), c.boxes);
  }
}

TEST_F(ShopCalls, CountersReadTotalCount) {
  struct Case {
    const char* name;
    std::string reply;
    int wait;
    QString total;
    QStringList boxes;  // per call
  } cases[] = {
      {"number", R"({"data":{"shopOrderList":{"totalCount":3}}})", 3, "3", {}},
      {"text", R"({"data":{"shopOrderList":{"totalCount":"3"}}})", 3, "3", {}},
      {"null", R"({"data":{"shopOrderList":{"totalCount":null}}})", 0, "null", {}},
      {"errors", R"({"errors":[{"message":"x"}]})", 0, "0", {kConnection}},
      {"missing list", R"({"data":{}})", 0, "0", {}},
      {"request failed", kServerError, 0, "0", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    answerNext(c.reply);
    answerNext(c.reply);
    const int before = boxes_.texts().size();
    EXPECT_EQ(GetWaitCnt(session()), c.wait);
    EXPECT_EQ(boxes_.texts().mid(before), c.boxes);
    EXPECT_EQ(GetTotalCnt(session()), c.total);
    EXPECT_EQ(boxes_.texts().mid(before + c.boxes.size()), c.boxes);
  }
  EXPECT_GE(countStartingWith(debugLines(), "GetWaitCnt err2 : "), 2);
  EXPECT_GE(countStartingWith(debugLines(), "GetTotalCnt err2 : "), 2);
}

TEST_F(ShopCalls, CountersCountTheRightStates) {
  using ordersim::OrderStatus;
  for (OrderStatus status : {OrderStatus::ORDER, OrderStatus::PAY, OrderStatus::WORKING, OrderStatus::DONE}) {
    ordersim::Order order = ordersim::SampleOrder(ordersim::OrderType::TAKEOUT);
    order.status = status;
    sim_.placeOrder("101", order);
  }
  EXPECT_EQ(GetWaitCnt(session()), 2);
  EXPECT_EQ(GetTotalCnt(session()), "3");
}

TEST_F(ShopCalls, UseStopDependsOnErrorsAlone) {
  struct Case {
    const char* name;
    std::string reply;
    bool accepted;
    QStringList boxes;
    QString logLine;
  } cases[] = {
      {"result false without errors", R"({"data":{"shopSetting":{"result":false,"msg":"x"}}})", true, {}, ""},
      {"errors", R"({"errors":[{"message":"x"}]})", false, {kConnection}, "SetUseStop error"},
      {"not JSON", "<html>", false, {}, "err: "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    replyNext(c.reply);
    const int before = boxes_.texts().size();
    EXPECT_EQ(SetUseStop(session(), true), c.accepted);
    EXPECT_EQ(boxes_.texts().mid(before), c.boxes);
    if (!c.logLine.isEmpty()) {
      EXPECT_GE(countStartingWith(debugLines(), c.logLine), 1);
    }
  }
}

TEST_F(ShopCalls, UseStopReachesTheService) {
  EXPECT_TRUE(SetUseStop(session(), true));
  EXPECT_TRUE(sim_.shop("101")->useStop);
  EXPECT_TRUE(SetUseStop(session(), false));
  EXPECT_FALSE(sim_.shop("101")->useStop);
}
