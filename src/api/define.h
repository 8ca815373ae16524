#pragma once
// The four value records handed between the subsystems. They are copied whole; a freshly made
// record has every text empty, every number 0 and every flag false.

#include <QList>
#include <QString>

struct TShop {
  QString ShopId;
  QString ShopIdSub;
  QString AuthCode;
  QString AuthCodeSub;
  QString LoginPhone;
  QString LoginSmsPw;
  bool AutoLogin = false;
  bool isAdmin = false;
  bool IconTop = false;
  QString PrinterName;
  QString SoundFile_D;
  QString SoundFile_T;
  QString SoundFile_S;
  int Sound_Repeat = 0;
  QString shopName;
  QString tel;
  QString biznum;
  QString ownerName;
  QString addr1;
  QString addr2;
  bool useStop = false;
  QString deliveryMessage;
  QString origin;
  bool useOrigin = false;
  QString affiliate;
  QString errMsg;
};

struct TPrintInfo {
  int PrintCnt = 0;
  int PrintType = 0;
  int PrintTime = 0;
  int PrintOrigin = 0;
};

struct TItemList {
  QString name;
  int price = 0;
  int cnt = 0;
  bool isOtp = false;
};

struct TOrderInfo {
  QString no;
  QString orderStatus;
  QString memberPhone;
  QString payAt;
  QString visitAt;
  int totalPrice = 0;
  int priceGoods = 0;
  int priceShip = 0;
  int priceDiscount = 0;
  QString CouponName;
  QString CouponType;
  QString payStatus;
  QString payPg;
  QString payPgName;
  QString payMethod;
  QString orderType;
  QString shipAddr1;
  QString shipAddr2;
  QString commentShop;
  QString commentShip;
  QList<TItemList> item;
  QString errMsg;
};
