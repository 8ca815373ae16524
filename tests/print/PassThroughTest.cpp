#include <gtest/gtest.h>

#include <QDir>

#include "PrintWorld.h"
#include "PtyPair.h"
#include "platform/PortNames.h"
#include "print/PrinterPorts.h"
#include "support/ScriptedMessageBox.h"

namespace {

QByteArray Burst(int size, char seed) {
  QByteArray b;
  for (int i = 0; i < size; ++i) b += char((seed + i * 7) & 0xff);
  b[0] = '\0';  // a 00 byte in every burst
  return b;
}

}  // namespace

class PassThrough : public PrintWorld {
 protected:
  QString Link(const QString& name) const { return platform::PortLinkFolder() + "/" + name; }
  void SetUp() override {
    ASSERT_TRUE(QDir().mkpath(platform::PortLinkFolder()));
    WriteSettings("[ComPort]\nPort=COM1\n[ComPort_virtual]\nPort=COM2\n");
  }
};

TEST_F(PassThrough, EachBurstIsOneOpenWriteCloseInArrivalOrder) {
  SocatPair printer(Link("COM1"));
  SocatPair sender(Link("COM2"));  // its "printer" end is the other program sending to us
  ASSERT_TRUE(printer.ok() && sender.ok());
  PrinterPorts ports;
  ports.PortInit();
  ASSERT_TRUE(ports.ComPort_virtual().Connected()) << DebugLines().join('\n').toStdString();

  QByteArray arrived;
  QByteArray expected;
  int cycles = 0;
  for (const QByteArray& burst : {Burst(10, 1), Burst(200, 2), Burst(5, 3)}) {
    sender.printer().Write(burst);
    expected += burst;
    ++cycles;
    ASSERT_TRUE(WaitFor([&] { return DebugCount("ComPort AfterClose") == cycles; }))
        << DebugLines().join('\n').toStdString();
    arrived += printer.printer().ReadUntilQuiet(100);
  }
  EXPECT_EQ(arrived, expected);
  EXPECT_EQ(DebugLines().filter("ComPort_virtualRxChar : "),
            QStringList({"ComPort_virtualRxChar : 10", "ComPort_virtualRxChar : 200",
                         "ComPort_virtualRxChar : 5"}));
  EXPECT_EQ(DebugCount("ComPort BeforeOpen"), 3);
  EXPECT_EQ(DebugCount("ComPort_virtualRxChar str : "), 3);
  EXPECT_FALSE(ports.ComPort().Connected());  // left closed, as a print job expects
  EXPECT_TRUE(ports.PortVClose());
}

TEST_F(PassThrough, BytesForAnUnavailablePrinterAreDroppedWithLogLinesOnly) {
  LinkPort("COM1", data.root() + "/unplugged-printer");
  SocatPair sender(Link("COM2"));
  ASSERT_TRUE(sender.ok());
  ScriptedMessageBox box;
  PrinterPorts ports;
  ports.PortInit();

  sender.printer().Write(Burst(5, 9));
  ASSERT_TRUE(WaitFor([&] { return DebugCount("ComPortException ComportMsg : ") >= 1; }));
  EXPECT_EQ(DebugCount("ComPort_virtualRxChar : 5"), 1);
  EXPECT_TRUE(ErrorLog().contains("ComPortException ComportMsg : "));
  EXPECT_TRUE(box.texts().isEmpty());

  // The printer comes back: only what is sent from now on reaches it.
  SocatPair printer(Link("COM1"));
  ASSERT_TRUE(printer.ok());
  const QByteArray later = Burst(7, 4);
  sender.printer().Write(later);
  ASSERT_TRUE(WaitFor([&] { return DebugCount("ComPort_virtualRxChar : 7") == 1; }));
  EXPECT_EQ(printer.printer().ReadUntilQuiet(), later);
}

TEST_F(PassThrough, WithoutItsSectionNothingListens) {
  WriteSettings("[ComPort]\nPort=COM1\n");
  SocatPair sender(Link("COM2"));
  ASSERT_TRUE(sender.ok());
  PrinterPorts ports;
  ports.PortInit();
  EXPECT_FALSE(ports.ComPort_virtual().Connected());
  sender.printer().Write("ignored");
  EXPECT_FALSE(WaitFor([&] { return DebugCount("ComPort_virtualRxChar") > 0; }, 300));
}
