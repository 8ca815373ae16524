// receipt: saved server replies to receipt bytes, and receipt bytes to text or a picture.
//   receipt order ORDER_REPLY SHOP_REPLY [--origin]
//   receipt test SHOP_REPLY
//   receipt view FILE [--png OUT.png]
// A file name "-" reads standard input.

#include "ReceiptLayout.h"
#include "ReceiptRender.h"
#include "api/OrderParse.h"
#include "api/ShopReply.h"
#include "print/Receipt.h"

#include <QFile>
#include <QGuiApplication>
#include <QStringList>

#include <cstdio>
#include <optional>

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;

int Usage() {
  std::fputs(
      "usage: receipt order ORDER_REPLY SHOP_REPLY [--origin]\n"
      "       receipt test SHOP_REPLY\n"
      "       receipt view FILE [--png OUT.png]\n"
      "A file name \"-\" reads standard input.\n",
      stderr);
  return kUsage;
}

int Fail(const QString& errMsg) {
  std::fprintf(stderr, "errMsg: %s\n", errMsg.toUtf8().constData());
  return kFailed;
}

std::optional<QByteArray> ReadInput(const QString& name) {
  QFile file(name);
  const bool opened = name == QLatin1String("-") ? file.open(stdin, QIODevice::ReadOnly)
                                                 : file.open(QIODevice::ReadOnly);
  if (!opened) return std::nullopt;
  return file.readAll();
}

int WriteBytes(const std::string& bytes) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() ||
      std::fflush(stdout) != 0) {
    std::perror("receipt: standard output");
    return kFailed;
  }
  return 0;
}

// Replies are UTF-8 JSON, as the server sends them.
std::optional<QString> ReadReply(const QString& name) {
  const auto bytes = ReadInput(name);
  if (!bytes) return std::nullopt;
  return QString::fromUtf8(*bytes);
}

std::optional<TShop> ReadShop(const QString& name, QString& errMsg) {
  const auto reply = ReadReply(name);
  if (!reply) {
    errMsg = QStringLiteral("cannot read ") + name;
    return std::nullopt;
  }
  TShop shop;
  ApplyShopReply(*reply, shop);
  if (!shop.errMsg.isEmpty()) {
    errMsg = shop.errMsg;
    return std::nullopt;
  }
  return shop;
}

int Order(const QStringList& args) {
  if (args.size() < 2 || args.size() > 3 ||
      (args.size() == 3 && args[2] != QLatin1String("--origin"))) {
    return Usage();
  }
  const auto reply = ReadReply(args[0]);
  if (!reply) return Fail(QStringLiteral("cannot read ") + args[0]);
  const TOrderInfo order = OrderFromReply(*reply);
  if (!order.errMsg.isEmpty()) return Fail(order.errMsg);
  QString errMsg;
  auto shop = ReadShop(args[1], errMsg);
  if (!shop) return Fail(errMsg);
  shop->useOrigin = args.size() == 3;
  return WriteBytes(MakeOrderReceipt(*shop, order));
}

int Test(const QStringList& args) {
  if (args.size() != 1) return Usage();
  QString errMsg;
  const auto shop = ReadShop(args[0], errMsg);
  if (!shop) return Fail(errMsg);
  return WriteBytes(MakeTestReceipt(*shop));
}

int View(int argc, char** argv, const QStringList& args) {
  if (args.size() != 1 && !(args.size() == 3 && args[1] == QLatin1String("--png"))) return Usage();
  const auto bytes = ReadInput(args[0]);
  if (!bytes) return Fail(QStringLiteral("cannot read ") + args[0]);
  const QList<receipt_view::Row> rows = receipt_view::LayOut(bytes->toStdString());
  if (args.size() == 1) {
    std::fputs(receipt_view::RenderText(rows).toUtf8().constData(), stdout);
    return 0;
  }
  // A picture needs fonts but no screen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (!receipt_view::RenderPicture(rows).save(args[2], "PNG")) {
    return Fail(QStringLiteral("cannot write ") + args[2]);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QStringList args;
  for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  if (args.isEmpty()) return Usage();
  const QString command = args.takeFirst();
  if (command == QLatin1String("order")) return Order(args);
  if (command == QLatin1String("test")) return Test(args);
  if (command == QLatin1String("view")) return View(argc, argv, args);
  return Usage();
}
