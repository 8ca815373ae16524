// Receipt bytes compared byte for byte with the layout the printer expects.

#include "Expect.h"
#include "print/Receipt.h"

#include <gtest/gtest.h>

#include <climits>

using namespace expect;

namespace {

TShop Shop() {
  TShop shop;
  shop.affiliate = "배달특급";
  shop.shopName = "치킨공방";
  shop.tel = "02-3141-5926";
  shop.biznum = "123-45-67890";
  shop.ownerName = "한지민";
  shop.addr1 = "마포구 망원로 12";
  shop.addr2 = "1층";
  return shop;
}

TOrderInfo Delivery() {
  TOrderInfo order;
  order.no = "0042";
  order.memberPhone = "010-2345-6789";
  order.payAt = "2026-12-11 12:03:41";
  order.visitAt = "2026-12-11 12:45:00";
  order.orderType = "DELIVERY";
  order.shipAddr1 = "망원로 12";
  order.shipAddr2 = "3층";
  order.commentShop = "맵지 않게";
  order.commentShip = "문 앞에";
  order.totalPrice = 28500;
  order.priceGoods = 27500;
  order.priceShip = 3000;
  order.priceDiscount = -2000;
  order.CouponName = "첫 주문 쿠폰";
  order.CouponType = "SHOP";
  order.payStatus = "S";
  order.payPgName = "카드결제";
  order.payMethod = "C";
  order.item = {
      {"양념치킨", 18000, 1, false}, {"└치즈볼", 3500, 0, true}, {"콜라", 2000, 2, false}};
  return order;
}

const std::string kShopLines = Cp949(
    "[상호] 치킨공방\n"
    "[사업자번호] 123-45-67890 대표자: 한지민\n"
    "[주소] 마포구 망원로 12 1층\n"
    "[전화번호] 02-3141-5926\n\n\n\n\n" +
    CUT);

void ExpectBytes(const std::string& actual, const std::string& expected) {
  EXPECT_EQ(actual, expected) << "actual:   " << Hex(actual) << "\nexpected: " << Hex(expected);
}

}  // namespace

TEST(OrderReceipt, DeliveryWithCouponOriginAndMessage) {
  TShop shop = Shop();
  shop.deliveryMessage = "리뷰 이벤트";
  shop.origin = "닭고기: 국내산";
  shop.useOrigin = true;
  const std::string expected = Cp949(
      INIT + DH + BOLD + CENTRE + "Pilvora - 배달특급\n" + LEFT +
      "[주문번호] 0042\n"
      "[연락처] 010-2345-6789\n"
      "[배달주소] 망원로 12 3층\n"
      "[결제완료] 카드결제\n" +
      INIT + SEP + INIT + DH + BOLD + "[매장 요청 내용]\n맵지 않게\n[배달 요청 내용]\n문 앞에\n" +
      INIT + SEP + "       메뉴               수량      금액\n" + SEP + TABS2 +
      "양념치킨        \t  1\t    18,000\n"
      "└치즈볼        \t   \t     3,500\n"
      "콜라          \t  2\t     2,000\n" +
      INIT + SEP + INIT + DH + BOLD + TABS1 + "총 주문 금액\t    27,500\n배달비\t     3,000\n" +
      INIT + SEP + INIT + DH + BOLD + TABS1 +
      "상점 자체 쿠폰 할인 금액\n└첫 주문 쿠폰\t    -2,000\n" + INIT + SEP + INIT + DH + BOLD +
      TABS1 + "합계\t    28,500\n" + INIT + SEP +
      "주문일시                2026-12-11 12:03:41\n"
      "결제방법                카드\n" +
      SEP + "리뷰 이벤트\n" + SEP + "[원산지] 닭고기: 국내산\n" + SEP);
  ExpectBytes(MakeOrderReceipt(shop, Delivery()), expected + kShopLines);
}

TEST(OrderReceipt, EndsWithFiveLineFeedsThenTheCut) {
  const std::string bytes = MakeOrderReceipt(Shop(), Delivery());
  ASSERT_GE(bytes.size(), 7u);
  EXPECT_EQ(bytes.substr(bytes.size() - 19), "02-3141-5926\n\n\n\n\n" + CUT);
}

TEST(OrderReceipt, OrderTypeDecidesVisitLineAndDeliveryBlocks) {
  struct Case {
    const char* orderType;
    const char* visitAt;
    const char* line;  // block between the phone line and the payment line
    bool delivery;
  } cases[] = {
      {"SHOP", "2026-12-11 12:45", "[매장] 12:45 도착 예정\n", false},
      {"SHOP", "12:45", "[매장]  도착 예정\n", false},  // no blank: no time field
      {"TAKEOUT", "2026-12-11 13:10", "[테이크아웃] 13:10 수령 예정\n", false},
      {"DELIVERY", "2026-12-11 13:10", "[배달주소] 망원로 12 3층\n", true},
      {"delivery", "2026-12-11 13:10", "", false},
      {"", "", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.orderType);
    TOrderInfo order = Delivery();
    order.orderType = c.orderType;
    order.visitAt = c.visitAt;
    const std::string bytes = MakeOrderReceipt(Shop(), order);
    EXPECT_EQ(Between(bytes, Cp949("6789\n"), Cp949("[결제완료]")),
              Cp949(std::string("6789\n") + c.line));
    EXPECT_EQ(bytes.find(Cp949("[배달 요청 내용]")) != std::string::npos, c.delivery);
    EXPECT_EQ(bytes.find(Cp949("총 주문 금액")) != std::string::npos, c.delivery);
    EXPECT_EQ(bytes.find(Cp949("배달비")) != std::string::npos, c.delivery);
  }
}

TEST(OrderReceipt, PaymentStatusAndMethodLabels) {
  struct Case {
    const char* payStatus;
    const char* payMethod;
    const char* statusLine;
    const char* methodLine;  // empty: no line, the separator follows the order time
  } cases[] = {
      {"S", "C", "[결제완료] PG\n", "결제방법                카드\n"},
      {"S", "V", "[결제완료] PG\n", "결제방법                실시간이체\n"},
      {"S", "B", "[결제완료] PG\n", "결제방법                가상계좌\n"},
      {"S", "S", "[결제완료] PG\n", "결제방법                에스크로\n"},
      {"S", "H", "[결제완료] PG\n", "결제방법                휴대폰\n"},
      {"S", "G", "[결제완료] PG\n", "결제방법                상품권\n"},
      {"S", "M", "[결제완료] PG\n", "결제방법                현금\n"},
      {"R", "c", "[결제미완료] PG\n", ""},
      {"s", "X", "[결제미완료] PG\n", ""},
      {"", "", "[결제미완료] PG\n", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.payStatus) + "/" + c.payMethod);
    TOrderInfo order = Delivery();
    order.payStatus = c.payStatus;
    order.payPgName = "PG";
    order.payMethod = c.payMethod;
    const std::string bytes = MakeOrderReceipt(Shop(), order);
    EXPECT_NE(bytes.find(Cp949(c.statusLine) + INIT + SEP), std::string::npos);
    EXPECT_EQ(Between(bytes, Cp949("12:03:41\n"), Cp949("[상호]")),
              Cp949(std::string("12:03:41\n") + c.methodLine + SEP));
  }
}

TEST(OrderReceipt, CouponBlock) {
  const std::string head = INIT + SEP + INIT + DH + BOLD + TABS1;
  struct Case {
    const char* type;
    const char* name;
    int discount;
    std::string block;  // empty: no coupon block at all
  } cases[] = {
      {"SHOP", "첫 주문", -2000, head + "상점 자체 쿠폰 할인 금액\n└첫 주문\t    -2,000\n"},
      {"APP", "첫 주문", -2000, head + "앱 자체 쿠폰 할인 금액\n└첫 주문\t    -2,000\n"},
      {"shop", "첫 주문", -2000, head + "앱 자체 쿠폰 할인 금액\n└첫 주문\t    -2,000\n"},
      {"", "첫 주문", -2000, head + "앱 자체 쿠폰 할인 금액\n└첫 주문\t    -2,000\n"},
      // The name is cut into pieces of 12; only the first carries the amount.
      {"SHOP", "가을맞이 특별 할인 쿠폰 이벤트", -500,
       head + "상점 자체 쿠폰 할인 금액\n└가을맞이 특별 할인 쿠\t      -500\n폰 이벤트\n"},
      {"SHOP", "", -2000, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.type) + "/" + c.name);
    TOrderInfo order = Delivery();
    order.CouponType = c.type;
    order.CouponName = c.name;
    order.priceDiscount = c.discount;
    const std::string bytes = MakeOrderReceipt(Shop(), order);
    const std::string afterShipping = Cp949("배달비\t     3,000\n");
    EXPECT_EQ(Between(bytes, afterShipping, Cp949(head + "합계")), afterShipping + Cp949(c.block));
  }
}

TEST(OrderReceipt, ItemLines) {
  struct Case {
    const char* what;
    TItemList item;
    const char* lines;
  } cases[] = {
      {"short ASCII name padded", {"Cola", 2000, 2, false}, "Cola        \t  2\t     2,000\n"},
      {"12 characters", {"ABCDEFGHIJKL", 100, 1, false}, "ABCDEFGHIJKL\t  1\t       100\n"},
      {"13 characters", {"ABCDEFGHIJKLM", 100, 1, false}, "ABCDEFGHIJKL\t  1\t       100\nM\n"},
      {"25 characters",
       {"ABCDEFGHIJKLMNOPQRSTUVWXY", 100, 1, false},
       "ABCDEFGHIJKL\t  1\t       100\nMNOPQRSTUVWX\nY\n"},
      {"12 Hangul syllables",
       {"가나다라마바사아자차카타", 9000, 3, false},
       "가나다라마바사아자차카타\t  3\t     9,000\n"},
      {"option line", {"└샷 추가", 500, 0, true}, "└샷 추가       \t   \t       500\n"},
      {"empty name prints nothing", {"", 5000, 1, false}, ""},
      {"amount over 10 characters", {"A", 123456789, 1, false}, "A           \t  1\t123,456,789\n"},
      {"negative amount over 10", {"A", -10000000, 1, false}, "A           \t  1\t-10,000,000\n"},
      {"lowest amount", {"A", INT_MIN, 1, false}, "A           \t  1\t-2,147,483,648\n"},
      {"count of 1000", {"A", 1000, 1000, false}, "A           \t1000\t     1,000\n"},
      {"negative count", {"A", 0, -5, false}, "A           \t -5\t         0\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TOrderInfo order = Delivery();
    order.item = {c.item};
    const std::string bytes = MakeOrderReceipt(Shop(), order);
    EXPECT_EQ(Between(bytes, TABS2, INIT), TABS2 + Cp949(c.lines));
  }
}

TEST(OrderReceipt, CharacterOutsideTheCodePageBecomesOneDefaultCharacter) {
  TShop shop = Shop();
  shop.shopName = "치킨😀공방";
  const std::string bytes = MakeOrderReceipt(shop, Delivery());
  EXPECT_NE(bytes.find(Cp949("[상호] 치킨?공방\n")), std::string::npos);
}

TEST(TestReceipt, TitleSeparatorAndShopLines) {
  const std::string expected =
      Cp949(INIT + DH + BOLD + CENTRE + "Pilvora - 배달특급\n" + INIT + SEP) + kShopLines;
  ExpectBytes(MakeTestReceipt(Shop()), expected);
}

TEST(TestReceipt, EmptyShopStillPrintsEveryLine) {
  const std::string expected =
      INIT + DH + BOLD + CENTRE + "Pilvora - \n" + INIT + SEP +
      Cp949("[상호] \n[사업자번호]  대표자: \n[주소]  \n[전화번호] \n\n\n\n\n") + CUT;
  ExpectBytes(MakeTestReceipt(TShop()), expected);
}
