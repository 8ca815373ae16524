#include "api/ShopInfo.h"

#include <exception>

#include "api/ApiMessages.h"
#include "api/BodyText.h"
#include "api/JsonPost.h"
#include "api/JsonReader.h"
#include "api/ShopReply.h"
#include "diag/TDebugWindow.h"
#include "platform/MessageBox.h"
#include "settings/ShopSettings.h"

namespace {

const QString kShopBody = QStringLiteral(
    R"({"query": "{ shop(shopId: %s) { name tel bizNum ownerName addr1 addr2 useStop )"
    R"(deliveryMessage origin affiliate } }" })");
const QString kWaitCntBody =
    QStringLiteral(R"({"query": "{ shopOrderList(status: \"ORDER,PAY\") { totalCount } }" })");
const QString kTotalCntBody = QStringLiteral(
    R"({"query": "{ shopOrderList(status: \"ORDER,PAY,WORKING\") { totalCount } }" })");
const QString kUseStopBody =
    QStringLiteral(R"({"query": "mutation { shopSetting(useStop: %s) { result msg } }" })");

void Show(const char16_t* text) { platform::ShowMessage(QString::fromUtf16(text)); }

QString What(const std::exception& e) { return QString::fromUtf8(e.what()); }

// The counters differ only in their document, their log name and how totalCount is read.
template <typename T, typename Read>
T CountOrders(const char* name, const QString& body, const TShop& shop, T fallback, Read read) {
  LetPendingEventsRun();
  QString reply;
  try {
    reply = PostGraphql(shop, body);
  } catch (const std::exception& e) {
    TDebugWindow::Add(QString::fromLatin1(name) + " err1 : " + What(e));
    Show(kConnectionMessage);
    return fallback;
  }
  try {
    const JsonObject root = JsonObject::Parse(reply);
    if (!root.IsNull("errors")) {
      Show(kConnectionMessage);
      return fallback;
    }
    return read(root.Object("data").Object("shopOrderList"));
  } catch (const std::exception& e) {
    TDebugWindow::Add(QString::fromLatin1(name) + " err2 : " + What(e));
    return fallback;
  }
}

}  // namespace

TShop GetShopInfo(bool withQuery) {
  TShop shop = ReadShopSettings(withQuery);
  if (!withQuery) return shop;
  QString reply;
  try {
    reply = PostGraphql(shop, FillFormat(kShopBody, {GqlIdInBody(shop.ShopId)}));
  } catch (const std::exception& e) {
    TDebugWindow::Add("GetShopInfo err1 : " + What(e));
    Show(kConnectionMessage);
    shop.errMsg = QStringLiteral("err");
    return shop;
  }
  ApplyShopReply(reply, shop);
  if (shop.errMsg == u"err") Show(kLoginFailedMessage);
  return shop;
}

int GetWaitCnt(const TShop& shop) {
  return CountOrders("GetWaitCnt", kWaitCntBody, shop, 0,
                     [](const JsonObject& list) { return list.Int("totalCount"); });
}

QString GetTotalCnt(const TShop& shop) {
  return CountOrders("GetTotalCnt", kTotalCntBody, shop, QStringLiteral("0"),
                     [](const JsonObject& list) { return list.Text("totalCount"); });
}

bool SetUseStop(const TShop& shop, bool stop) {
  LetPendingEventsRun();
  QString reply;
  try {
    reply = PostGraphql(shop, FillFormat(kUseStopBody, {stop ? "true" : "false"}));
  } catch (const std::exception& e) {
    TDebugWindow::Add("SetUseStop err : " + What(e));
    return false;
  }
  try {
    // Only "errors" decides; the requested result and msg are not read.
    if (!JsonObject::Parse(reply).IsNull("errors")) {
      Show(kConnectionMessage);
      TDebugWindow::Add(QStringLiteral("SetUseStop error"));
      return false;
    }
    return true;
  } catch (const std::exception& e) {
    TDebugWindow::Add("err: " + What(e));
    return false;
  }
}
