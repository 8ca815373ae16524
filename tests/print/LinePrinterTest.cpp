#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include "Fixtures.h"
#include "PrintWorld.h"
#include "platform/PortNames.h"
#include "print/PrintJobs.h"
#include "print/PrinterPorts.h"
#include "print/Receipt.h"
#include "support/ScriptedMessageBox.h"

namespace {

const QString kConnectFailed =
    QStringLiteral("프린터 연결에 실패했습니다. 프린터 설정을 확인 후 다시 시도하세요.");

QByteArray Bytes(const std::string& s) { return QByteArray(s.data(), qsizetype(s.size())); }

}  // namespace

TEST(PrintRoute, FollowsTheNamesBeginningExactly) {
  const std::pair<const char*, PrintRoute> cases[] = {
      {"COM5", PrintRoute::Serial},   {"LPT1", PrintRoute::Parallel}, {"com1", PrintRoute::Spooler},
      {"", PrintRoute::Spooler},      {"Receipt", PrintRoute::Spooler}, {"COMLPT", PrintRoute::Serial},
      {"LPTCOM", PrintRoute::Parallel}, {" COM1", PrintRoute::Spooler},
  };
  for (const auto& [name, route] : cases) EXPECT_EQ(RouteOf(name), route) << '"' << name << '"';
}

class LinePrinter : public PrintWorld {};

TEST_F(LinePrinter, WritesTheReceiptAndALineBreakAndTruncatesTheNextTime) {
  const QString device = data.root() + "/lp-device";
  {
    QFile old(device);  // an older, longer job
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write(QByteArray(5000, 'o')) == 5000);
  }
  LinkPort("LPT1", device);
  ScriptedMessageBox box;
  const TShop shop = SampleShop(QStringLiteral("LPT1"));
  PrinterPorts ports;

  OrderPrint(ports, SampleOrder(), shop);
  QFile f(device);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray order = f.readAll();
  f.close();
  EXPECT_EQ(order, Bytes(MakeOrderReceipt(shop, SampleOrder())) + "\r\n");
  EXPECT_TRUE(order.endsWith(QByteArray("\x1b\x69\x0d\x0a", 4)));

  TestPrint(ports, QStringLiteral("LPT1"), shop);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), Bytes(MakeTestReceipt(shop)) + "\r\n");
  EXPECT_TRUE(box.texts().isEmpty());
}

TEST_F(LinePrinter, AnUnreachableDeviceIsShownAndLoggedAndNothingIsCreated) {
  const QString gone = data.root() + "/usb-lp-unplugged";
  const QString fifo = data.root() + "/fifo-without-reader";
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  struct Case {
    const char* name;
    QString target;  // linked as ports/<name>; empty: no link
  };
  const Case cases[] = {{"LPT1", gone}, {"LPT2", fifo}, {"LPTx", {}}, {"LPT0", {}}};
  for (const Case& c : cases) {
    if (!c.target.isEmpty()) LinkPort(c.name, c.target);
    ScriptedMessageBox box;
    const int before = DebugCount("LptOrderPrint err : ");
    EXPECT_NO_THROW(LptOrderPrint(SampleOrder(), SampleShop(c.name))) << c.name;
    EXPECT_EQ(box.texts(), QStringList{kConnectFailed}) << c.name;
    EXPECT_EQ(DebugCount("LptOrderPrint err : "), before + 1) << c.name;
  }
  EXPECT_FALSE(QFileInfo::exists(gone));
  EXPECT_TRUE(ErrorLog().contains("LptOrderPrint err : cannot open " + platform::PortLinkFolder() + "/LPT1"))
      << ErrorLog().toStdString();
}
