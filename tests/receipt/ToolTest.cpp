// The receipt tool run as a process on saved replies.

#include "Expect.h"
#include "api/OrderParse.h"
#include "api/ShopReply.h"
#include "print/Receipt.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ToolRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

ToolRun Receipt(const QStringList& args, const QByteArray& input = {}) {
  QProcess process;
  process.start(TALVEN_BIN_DIR "/receipt", args);
  process.write(input);
  process.closeWriteChannel();
  EXPECT_TRUE(process.waitForFinished(30000));
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          process.readAllStandardOutput().toStdString(),
          process.readAllStandardError().toStdString()};
}

QString Data(const char* name) { return QStringLiteral(TALVEN_TEST_DATA "/") + name; }

std::string LibraryReceipt(bool origin) {
  TShop shop;
  ApplyShopReply(QString::fromStdString(expect::ReadFile(Data("shop.json"))), shop);
  shop.useOrigin = origin;
  return MakeOrderReceipt(
      shop, OrderFromReply(QString::fromStdString(expect::ReadFile(Data("order-delivery.json")))));
}

}  // namespace

TEST(ReceiptTool, OrderWritesTheReceiptBytes) {
  const std::string originLine = expect::Cp949("[원산지] 닭고기: 국내산, 쌀: 국내산\n");
  for (const bool origin : {false, true}) {
    SCOPED_TRACE(origin);
    QStringList args = {"order", Data("order-delivery.json"), Data("shop.json")};
    if (origin) args << "--origin";
    const ToolRun run = Receipt(args);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, LibraryReceipt(origin));
    EXPECT_EQ(run.out.find(originLine) != std::string::npos, origin);
  }
}

TEST(ReceiptTool, DashReadsStandardInput) {
  const ToolRun run =
      Receipt({"order", "-", Data("shop.json")},
              QByteArray::fromStdString(expect::ReadFile(Data("order-delivery.json"))));
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, LibraryReceipt(false));
}

TEST(ReceiptTool, FailedRepliesPrintNothing) {
  const struct {
    const char* order;
    const char* shop;
    const char* err;  // start of standard error
  } cases[] = {
      {"order-errors.json", "shop.json", "errMsg: err\n"},
      {"order-no-edges.json", "shop.json", "errMsg: 결과없음\n"},
      {"order-malformed.json", "shop.json", "errMsg: reply is not valid JSON\n"},
      {"empty.json", "shop.json", "errMsg: reply is not valid JSON\n"},
      {"order-delivery.json", "shop-errors.json", "errMsg: err\n"},
      {"order-delivery.json", "empty.json", "errMsg: reply is not valid JSON\n"},
      {"no-such-file.json", "shop.json", "errMsg: cannot read "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.order) + " " + c.shop);
    const ToolRun run = Receipt({"order", Data(c.order), Data(c.shop)});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind(c.err, 0), 0u) << run.err;
  }
}

TEST(ReceiptTool, TestReceiptAndUsage) {
  TShop shop;
  ApplyShopReply(QString::fromStdString(expect::ReadFile(Data("shop.json"))), shop);
  const ToolRun test = Receipt({"test", Data("shop.json")});
  EXPECT_EQ(test.exitCode, 0);
  EXPECT_EQ(test.out, MakeTestReceipt(shop));

  const ToolRun failed = Receipt({"test", Data("shop-errors.json")});
  EXPECT_EQ(failed.exitCode, 1);
  EXPECT_EQ(failed.out, "");
  EXPECT_EQ(failed.err, "errMsg: err\n");

  for (const QStringList& args :
       {QStringList{}, QStringList{"print"}, QStringList{"order", "a"},
        QStringList{"order", "a", "b", "--bogus"}, QStringList{"view", "a", "--jpg", "x"}}) {
    EXPECT_EQ(Receipt(args).exitCode, 2) << args.join(' ').toStdString();
  }
}

TEST(ReceiptTool, ViewAsTextAndPicture) {
  QTemporaryDir dir;
  const QString bytes = dir.filePath("receipt.bin");
  QFile file(bytes);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QByteArray::fromStdString(LibraryReceipt(true)));
  file.close();

  const ToolRun text = Receipt({"view", bytes});
  EXPECT_EQ(text.exitCode, 0) << text.err;
  EXPECT_NE(text.out.find("H B |            Pilvora - 배달특급            |\n"), std::string::npos)
      << text.out;
  EXPECT_NE(text.out.find("    |양념치킨                    1     18,000  |\n"), std::string::npos);
  EXPECT_NE(text.out.find("✂"), std::string::npos);

  const QString png = dir.filePath("receipt.png");
  const ToolRun picture = Receipt({"view", bytes, "--png", png});
  EXPECT_EQ(picture.exitCode, 0) << picture.err;
  const QImage image(png);
  EXPECT_EQ(image.width(), 42 * 12 + 2 * 24);
  EXPECT_GT(image.height(), 1000);
}
