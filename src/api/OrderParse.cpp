#include "api/OrderParse.h"

#include "diag/SupportRoutines.h"
#include "diag/TDebugWindow.h"

#include <limits>

namespace {

TOrderInfo Failed(const QString& errMsg) {
  TOrderInfo order;
  order.errMsg = errMsg;
  return order;
}

QString DashWhenEmpty(const QString& text) { return text.isEmpty() ? QStringLiteral("-") : text; }

// "%.4d": at least four digits, the sign in front of them.
QString OrderNumber(int no) {
  const QString digits = QString::number(qAbs(static_cast<qint64>(no))).rightJustified(4, '0');
  return no < 0 ? QLatin1Char('-') + digits : digits;
}

// Amounts that do not fit the record fail the parse instead of printing a wrapped value.
int Checked(qint64 amount) {
  if (amount < std::numeric_limits<int>::min() || amount > std::numeric_limits<int>::max()) {
    throw JsonError(QStringLiteral("amount %1 is out of range").arg(amount));
  }
  return static_cast<int>(amount);
}

void ReadItems(const JsonArray& items, QList<TItemList>& out) {
  out.reserve(items.Length());
  for (int i = 0; i < items.Length(); ++i) {
    const JsonObject entry = items.ObjectAt(i);
    const JsonObject goods = entry.Object("goods");
    const int count = entry.Int("count");
    TItemList line;
    line.name = goods.Text("name");
    line.cnt = count;
    line.price = Checked(qint64{goods.Int("price")} * count);
    out.append(line);

    const JsonArray groups = entry.Array("pickOptions");
    for (int g = 0; g < groups.Length(); ++g) {
      const JsonArray options = groups.ObjectAt(g).Array("items");
      for (int o = 0; o < options.Length(); ++o) {
        const JsonObject option = options.ObjectAt(o);
        TItemList optionLine;
        optionLine.isOtp = true;
        optionLine.name = QStringLiteral("└") + option.Text("name");
        optionLine.price = Checked(qint64{option.Int("price")} * count);
        out.append(optionLine);
      }
    }
  }
}

TOrderInfo ReadOrder(const JsonObject& node) {
  TOrderInfo order;
  order.no = OrderNumber(node.Int("no"));
  order.orderStatus = node.Text("status");
  order.memberPhone = FormatPhoneNumber(node.Object("member").Text("phone"));
  order.payAt = node.Text("payAt");
  order.visitAt = node.Text("visitAt");
  order.orderType = node.Text("orderType");
  order.shipAddr1 = node.Text("shipAddr1");
  order.shipAddr2 = node.Text("shipAddr2");
  order.commentShop = DashWhenEmpty(node.Text("commentShop"));
  order.commentShip = DashWhenEmpty(node.Text("commentShip"));
  order.totalPrice = node.Int("price");
  order.priceGoods = node.Int("priceGoods");
  order.priceShip = node.Int("priceShip");
  order.priceDiscount = Checked(-qint64{node.Int("priceDiscount")});
  if (node.Text("coupon") != QLatin1String("null")) {
    const JsonObject coupon = node.Object("coupon").Object("coupon");
    order.CouponName = coupon.Text("name");
    order.CouponType = coupon.Text("burdenType");
  }
  const JsonObject payinfo = node.Object("payinfo");
  order.payMethod = payinfo.Text("payMethod");
  order.payStatus = payinfo.Text("status");
  const JsonObject setting = payinfo.Object("setting");
  order.payPg = setting.Text("pg");
  order.payPgName = setting.Text("pgName");
  ReadItems(node.Array("items"), order.item);
  return order;
}

}  // namespace

TOrderInfo OrderParse(const JsonObject& node) {
  try {
    return ReadOrder(node);
  } catch (const JsonError& e) {
    TDebugWindow::Add(QStringLiteral("OrderParse err : ") + e.Message());
    return Failed(e.Message());
  }
}

TOrderInfo OrderFromReply(const QString& reply) {
  try {
    const JsonObject root = JsonObject::Parse(reply);
    if (!root.IsNull("errors")) {
      TDebugWindow::Add(QStringLiteral("GetOrderInfo err"));
      return Failed(QStringLiteral("err"));
    }
    const JsonArray edges = root.Object("data").Object("shopOrderList").Array("edges");
    if (edges.Length() == 0) {
      TDebugWindow::Add(QStringLiteral("GetOrderInfo 결과없음"));
      return Failed(QStringLiteral("결과없음"));
    }
    // Reading the node is part of the reply; a node that is not an object fails here.
    const JsonObject node = edges.ObjectAt(0).Object("node");
    return OrderParse(node);
  } catch (const JsonError& e) {
    TDebugWindow::Add(QStringLiteral("GetOrderInfo err2 : ") + e.Message());
    return Failed(e.Message());
  }
}
