#include "print/Receipt.h"

#include "diag/SupportRoutines.h"
#include "print/Cp949.h"
#include "print/ReceiptFormat.h"

#include <string_view>

namespace {

using namespace std::string_view_literals;

// ESC/POS commands, as sent; the sv literals keep their 00 bytes.
constexpr auto kInit = "\x1B\x40"sv;
constexpr auto kDoubleHeight = "\x1D\x21\x01"sv;
constexpr auto kBoldOn = "\x1B\x45\x01"sv;
constexpr auto kCentre = "\x1B\x61\x01"sv;
constexpr auto kLeft = "\x1B\x61\x00"sv;
constexpr auto kTabsQtyAmount = "\x1B\x44\x1A\x1E\x00"sv;  // stops at columns 26 and 30
constexpr auto kTabsAmount = "\x1B\x44\x1E\x00"sv;         // one stop at column 30
constexpr auto kCut = "\x1B\x69"sv;
constexpr char kTab = '\x09';
constexpr char kLineFeed = '\x0A';

constexpr int kNameWidth = 12;
const QString kSeparator(42, QLatin1Char('-'));

class ReceiptWriter {
 public:
  ReceiptWriter& Cmd(std::string_view bytes) {
    bytes_.append(bytes);
    return *this;
  }
  ReceiptWriter& Text(const QString& text) {
    encoder_.Append(text, bytes_);
    return *this;
  }
  ReceiptWriter& Tab() {
    bytes_ += kTab;
    return *this;
  }
  ReceiptWriter& Line(const QString& text = QString()) {
    Text(text);
    bytes_ += kLineFeed;
    return *this;
  }
  ReceiptWriter& Separator() { return Line(kSeparator); }
  // Normal size, then the separator, then double height and bold again.
  ReceiptWriter& LargeSection(std::string_view tabs) {
    return Cmd(kInit).Separator().Cmd(kInit).Cmd(kDoubleHeight).Cmd(kBoldOn).Cmd(tabs);
  }
  std::string Take() { return std::move(bytes_); }

 private:
  Cp949Encoder encoder_;
  std::string bytes_;
};

void Title(ReceiptWriter& w, const TShop& shop) {
  w.Cmd(kInit).Cmd(kDoubleHeight).Cmd(kBoldOn).Cmd(kCentre);
  w.Line(QStringLiteral("Pilvora - ") + shop.affiliate);
}

void ShopLines(ReceiptWriter& w, const TShop& shop) {
  w.Line(QStringLiteral("[상호] ") + shop.shopName);
  w.Line(QStringLiteral("[사업자번호] ") + shop.biznum + QStringLiteral(" 대표자: ") +
         shop.ownerName);
  w.Line(QStringLiteral("[주소] ") + shop.addr1 + QLatin1Char(' ') + shop.addr2);
  w.Line(QStringLiteral("[전화번호] ") + shop.tel);
  w.Line().Line().Line().Line().Cmd(kCut);
}

void OrderTypeLine(ReceiptWriter& w, const TOrderInfo& order) {
  if (order.orderType == QLatin1String("SHOP")) {
    w.Line(QStringLiteral("[매장] ") + VisitTime(order.visitAt) + QStringLiteral(" 도착 예정"));
  } else if (order.orderType == QLatin1String("TAKEOUT")) {
    w.Line(QStringLiteral("[테이크아웃] ") + VisitTime(order.visitAt) +
           QStringLiteral(" 수령 예정"));
  } else if (order.orderType == QLatin1String("DELIVERY")) {
    w.Line(QStringLiteral("[배달주소] ") + order.shipAddr1 + QLatin1Char(' ') + order.shipAddr2);
  }
}

// An empty name gives no line at all, not even the quantity and amount.
void ItemLines(ReceiptWriter& w, const TItemList& item) {
  const QStringList pieces = SplitByLength(item.name, kNameWidth);
  for (qsizetype i = 0; i < pieces.size(); ++i) {
    if (i > 0) {
      w.Line(pieces[i]);
      continue;
    }
    w.Text(PadRight(pieces[i], kNameWidth)).Tab().Text(FormatCount(item.cnt)).Tab();
    w.Line(FormatAmount(item.price));
  }
}

void CouponLines(ReceiptWriter& w, const TOrderInfo& order) {
  w.Line(order.CouponType == QLatin1String("SHOP") ? QStringLiteral("상점 자체 쿠폰 할인 금액")
                                                   : QStringLiteral("앱 자체 쿠폰 할인 금액"));
  const QStringList pieces = SplitByLength(order.CouponName, kNameWidth);
  for (qsizetype i = 0; i < pieces.size(); ++i) {
    if (i > 0) {
      w.Line(pieces[i]);
      continue;
    }
    w.Text(QStringLiteral("└") + pieces[i]).Tab().Line(FormatAmount(order.priceDiscount));
  }
}

QString PayMethodLabel(const QString& code) {
  static const struct {
    const char* code;
    const char* label;
  } kLabels[] = {{"C", "카드"},   {"V", "실시간이체"}, {"B", "가상계좌"}, {"S", "에스크로"},
                 {"H", "휴대폰"}, {"G", "상품권"},     {"M", "현금"}};
  for (const auto& entry : kLabels)
    if (code == QLatin1String(entry.code)) return QString::fromUtf8(entry.label);
  return QString();
}

}  // namespace

std::string MakeOrderReceipt(const TShop& shop, const TOrderInfo& order) {
  const bool delivery = order.orderType == QLatin1String("DELIVERY");
  const QString labelGap(16, QLatin1Char(' '));
  ReceiptWriter w;
  Title(w, shop);
  w.Cmd(kLeft).Line(QStringLiteral("[주문번호] ") + order.no);
  w.Line(QStringLiteral("[연락처] ") + order.memberPhone);
  OrderTypeLine(w, order);
  w.Line((order.payStatus == QLatin1String("S") ? QStringLiteral("[결제완료] ")
                                                : QStringLiteral("[결제미완료] ")) +
         order.payPgName);
  w.Cmd(kInit).Separator();

  w.Cmd(kInit).Cmd(kDoubleHeight).Cmd(kBoldOn);
  w.Line(QStringLiteral("[매장 요청 내용]")).Line(order.commentShop);
  if (delivery) w.Line(QStringLiteral("[배달 요청 내용]")).Line(order.commentShip);
  w.Cmd(kInit).Separator();

  // Lines up with the tab stops: "수량" from column 26, "금액" ending at column 39.
  w.Line(QString(7, ' ') + QStringLiteral("메뉴") + QString(15, ' ') + QStringLiteral("수량") +
         QString(6, ' ') + QStringLiteral("금액"));
  w.Separator().Cmd(kTabsQtyAmount);
  for (const TItemList& item : order.item) ItemLines(w, item);

  if (delivery) {
    w.LargeSection(kTabsAmount);
    w.Text(QStringLiteral("총 주문 금액")).Tab().Line(FormatAmount(order.priceGoods));
    w.Text(QStringLiteral("배달비")).Tab().Line(FormatAmount(order.priceShip));
  }
  if (!order.CouponName.isEmpty()) {
    w.LargeSection(kTabsAmount);
    CouponLines(w, order);
  }
  w.LargeSection(kTabsAmount);
  w.Text(QStringLiteral("합계")).Tab().Line(FormatAmount(order.totalPrice));

  w.Cmd(kInit).Separator().Line(QStringLiteral("주문일시") + labelGap + order.payAt);
  const QString method = PayMethodLabel(order.payMethod);
  if (!method.isEmpty()) w.Line(QStringLiteral("결제방법") + labelGap + method);
  w.Separator();

  if (!shop.deliveryMessage.isEmpty()) w.Line(shop.deliveryMessage).Separator();
  if (shop.useOrigin) w.Line(QStringLiteral("[원산지] ") + shop.origin).Separator();
  ShopLines(w, shop);
  return w.Take();
}

std::string MakeTestReceipt(const TShop& shop) {
  ReceiptWriter w;
  Title(w, shop);
  w.Cmd(kInit).Separator();
  ShopLines(w, shop);
  return w.Take();
}
