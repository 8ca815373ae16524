#include "api/ShopReply.h"

#include "api/JsonReader.h"
#include "diag/TDebugWindow.h"

void ApplyShopReply(const QString& reply, TShop& shop) {
  shop.errMsg.clear();
  try {
    const JsonObject root = JsonObject::Parse(reply);
    if (!root.IsNull("errors")) {
      shop.errMsg = QStringLiteral("err");
      return;
    }
    const JsonObject data = root.Object("data").Object("shop");
    const QString name = data.Text("name");
    if (name.isEmpty() || name == QLatin1String("null")) {
      shop.errMsg = QStringLiteral("err");
      return;
    }
    // Field by field, so that a failure keeps what was read before it.
    shop.shopName = name;
    shop.tel = data.Text("tel");
    shop.biznum = data.Text("bizNum");
    shop.ownerName = data.Text("ownerName");
    shop.addr1 = data.Text("addr1");
    shop.addr2 = data.Text("addr2");
    shop.useStop = data.Bool("useStop");
    shop.deliveryMessage = data.Text("deliveryMessage");
    shop.origin = data.Text("origin");
    shop.affiliate = data.Text("affiliate");
  } catch (const JsonError& e) {
    TDebugWindow::Add(QStringLiteral("GetShopInfo err2 : ") + e.Message());
    shop.errMsg = e.Message();
  }
}
