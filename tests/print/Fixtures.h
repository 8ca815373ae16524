#pragma once
// A small order and shop, enough for the receipt layout to have every part.

#include "api/define.h"

inline TShop SampleShop(const QString& printerName = QStringLiteral("COM1")) {
  TShop shop;
  shop.shopName = QStringLiteral("한빛 분식");
  shop.tel = QStringLiteral("0212345678");
  shop.addr1 = QStringLiteral("서울시 중구");
  shop.PrinterName = printerName;
  return shop;
}

inline TOrderInfo SampleOrder() {
  TOrderInfo order;
  order.no = QStringLiteral("A-1001");
  order.orderType = QStringLiteral("DELIVERY");
  order.memberPhone = QStringLiteral("01012345678");
  order.payAt = QStringLiteral("2026-12-11 12:30:00");
  order.priceGoods = 16000;
  order.priceShip = 3000;
  order.totalPrice = 19000;
  order.shipAddr1 = QStringLiteral("서울시 중구 세종대로 1");
  order.item = {{QStringLiteral("김밥"), 4000, 2, false}, {QStringLiteral("라면"), 8000, 1, false}};
  return order;
}
