#include "api/GetOrderInfo.h"

#include <exception>

#include "api/BodyText.h"
#include "api/JsonPost.h"
#include "api/OrderParse.h"
#include "diag/TDebugWindow.h"

namespace {

const QString kOrderBody = QStringLiteral(
    R"({"query": "{ shopOrderList (token: \"%s\") { edges { node { no token status member { phone } )"
    R"(payAt visitAt orderType shipAddr1 shipAddr2 commentShop commentShip price priceGoods )"
    R"(priceShip priceDiscount coupon { coupon { name burdenType } } payinfo { payMethod status )"
    R"(setting { pg pgName } } items { price count goods { name price } pickOptions { option { )"
    R"(name } items { name price } } } } } } }" })");

}  // namespace

TOrderInfo GetOrderInfo(const QString& token, const TShop& shop) {
  LetPendingEventsRun();
  QString reply;
  try {
    reply = PostGraphql(shop, FillFormat(kOrderBody, {GqlStringInBody(token)}));
  } catch (const std::exception& e) {
    const QString message = QString::fromUtf8(e.what());
    TDebugWindow::Add("GetOrderInfo err1 : " + message);
    TOrderInfo failed;
    failed.errMsg = message;
    return failed;
  }
  return OrderFromReply(reply);
}
