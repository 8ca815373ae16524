#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <thread>

#include "Fixtures.h"
#include "PrintWorld.h"
#include "PtyPair.h"
#include "platform/MessageBox.h"
#include "platform/PortNames.h"
#include "print/PrintJobs.h"
#include "print/PrinterPorts.h"
#include "print/Receipt.h"
#include "print/SerialPortIni.h"
#include "settings/IniFile.h"
#include "support/ScriptedMessageBox.h"

using platform::FlowControl;
using platform::Parity;
using platform::SerialSettings;
using platform::StopBits;

namespace {

const QString kRetryQuestion = QStringLiteral("프린터 출력에 실패했습니다. 다시 출력하시겠습니까?");

std::string AllByteValues(int rounds) {
  std::string bytes;
  for (int r = 0; r < rounds; ++r)
    for (int b = 0; b < 256; ++b) bytes += char(b);
  return bytes;
}

QByteArray Bytes(const std::string& s) { return QByteArray(s.data(), qsizetype(s.size())); }

}  // namespace

// --- settings in the INI section -------------------------------------------------------------

class SerialSettingsIni : public PrintWorld {};

TEST_F(SerialSettingsIni, ReadsWordsWithoutRegardToCaseAndUnknownWordsAsSpecified) {
  struct Case {
    const char* lines;
    std::function<void(SerialSettings&)> expect;
  };
  const Case cases[] = {
      {"", [](SerialSettings&) {}},
      {"Port=COM3", [](SerialSettings& s) { s.port = "COM3"; }},
      {"baudrate=115200", [](SerialSettings& s) { s.baudRate = 115200; }},
      {"BaudRate=14400", [](SerialSettings& s) { s.baudRate = 14400; }},
      {"BaudRate=12345", [](SerialSettings& s) { s.baudRate = 9600; }},
      {"BaudRate=CUSTOM\nCustomBaudRate=250000",
       [](SerialSettings& s) { s.baudRate = SerialSettings::kCustomBaud; s.customBaudRate = 250000; }},
      {"BaudRate=Custom", [](SerialSettings& s) { s.baudRate = SerialSettings::kCustomBaud; }},
      {"StopBits=1.5", [](SerialSettings& s) { s.stopBits = StopBits::OneAndHalf; }},
      {"StopBits=3", [](SerialSettings& s) { s.stopBits = StopBits::One; }},
      {"DataBits=7", [](SerialSettings& s) { s.dataBits = 7; }},
      {"DataBits=9", [](SerialSettings& s) { s.dataBits = 8; }},
      {"Parity=even", [](SerialSettings& s) { s.parity = Parity::Even; }},
      {"Parity=sometimes", [](SerialSettings& s) { s.parity = Parity::None; }},
      {"FlowControl=HARDWARE", [](SerialSettings& s) { s.flowControl = FlowControl::Hardware; }},
      {"FlowControl=whatever", [](SerialSettings& s) { s.flowControl = FlowControl::Custom; }},
  };
  // Not the defaults, so a missing key (keeps these) and an unknown word (a fixed fallback)
  // tell apart.
  SerialSettings current;
  current.baudRate = 19200;
  current.dataBits = 7;
  current.parity = Parity::Odd;
  current.stopBits = StopBits::Two;
  for (const Case& c : cases) {
    WriteSettings(QByteArray("[ComPort]\n") + c.lines + "\n");
    SerialSettings expected = current;
    c.expect(expected);
    const SerialSettings got = ReadSerialSettings(IniFile(data.file("setting.ini")), "ComPort", current);
    EXPECT_TRUE(got == expected) << c.lines;
  }
}

TEST_F(SerialSettingsIni, StoreWritesTheKeysAndReadsBackTheSame) {
  IniFile ini(data.file("setting.ini"));
  SerialSettings s;
  s.port = "COM4";
  s.baudRate = 115200;
  s.parity = Parity::Mark;
  s.stopBits = StopBits::OneAndHalf;
  s.dataBits = 7;
  WriteSerialSettings(ini, "ComPort_virtual", s);
  EXPECT_EQ(ini.ReadSection("ComPort_virtual"),
            QStringList({"Port", "BaudRate", "StopBits", "DataBits", "Parity", "FlowControl"}));
  EXPECT_EQ(ini.ReadString("ComPort_virtual", "Parity", ""), "Mark");
  EXPECT_EQ(ini.ReadString("ComPort_virtual", "StopBits", ""), "1.5");
  EXPECT_TRUE(ReadSerialSettings(ini, "ComPort_virtual", SerialSettings()) == s);

  s.baudRate = SerialSettings::kCustomBaud;
  s.customBaudRate = 250000;
  WriteSerialSettings(ini, "ComPort_virtual", s);
  EXPECT_EQ(ini.ReadString("ComPort_virtual", "BaudRate", ""), "Custom");
  EXPECT_EQ(ini.ReadInteger("ComPort_virtual", "CustomBaudRate", 0), 250000);
  EXPECT_TRUE(ReadSerialSettings(ini, "ComPort_virtual", SerialSettings()) == s);
}

TEST_F(SerialSettingsIni, NoComPortSectionLeavesComOneAt9600EightNoneOne) {
  WriteSettings("[SET]\nPrinterName=COM1\n");
  PrinterPorts ports;
  ports.PortInit();
  EXPECT_TRUE(ports.ComPort().Settings() == SerialSettings());
  EXPECT_EQ(ports.ComPort().Settings().port, "COM1");
  EXPECT_EQ(ports.ComPort().Settings().LineRate(), 9600);
  EXPECT_EQ(ports.ComPort().Settings().BitsPerByte(), 10);
  EXPECT_FALSE(ports.ComPort_virtual().Connected());
}

// --- the completion wait ----------------------------------------------------------------------

TEST(SerialWriteWait, CoversTheBytesAtTheLineSpeed) {
  struct Case {
    qsizetype bytes;
    int baud;
    Parity parity;
    int expectedMs;
  };
  const Case cases[] = {
      {0, 9600, Parity::None, 2000},
      {100, 9600, Parity::None, 2000 + 105 + 26},
      // The receipt a fixed 2000 ms wait cut short: 2604 ms on the line.
      {2500, 9600, Parity::None, 2000 + 2605 + 651},
      {2500, 115200, Parity::None, 2000 + 218 + 54},
      {1000, 9600, Parity::Even, 2000 + 1146 + 286},  // 11 bits a byte
  };
  for (const Case& c : cases) {
    SerialSettings s;
    s.baudRate = c.baud;
    s.parity = c.parity;
    EXPECT_EQ(platform::WriteWaitMs(c.bytes, s), c.expectedMs) << c.bytes << " bytes at " << c.baud;
  }
}

// --- printing on a real line ------------------------------------------------------------------

class SerialPrinting : public PrintWorld {
 protected:
  QString Link(const QString& name) const { return platform::PortLinkFolder() + "/" + name; }
  void SetUp() override { ASSERT_TRUE(QDir().mkpath(platform::PortLinkFolder())); }
};

TEST_F(SerialPrinting, BytesArriveUnchangedAndTheJobAsksNothing) {
  SocatPair line(Link("COM1"));
  ASSERT_TRUE(line.ok());
  ScriptedMessageBox box;
  PrinterPorts ports;

  const std::string bytes = AllByteValues(4);  // 00 and every control byte included
  ports.PortOpen();
  ports.PortPrint(bytes);
  ports.PortClose();
  EXPECT_FALSE(ports.isPortError());
  EXPECT_EQ(line.printer().ReadUntilQuiet(), Bytes(bytes));
  EXPECT_EQ(DebugCount(QStringLiteral("출력 정상 : ")), 1);

  // An order for "COM5" goes to the port the component is set to, here COM1.
  const TShop shop = SampleShop(QStringLiteral("COM5"));
  OrderPrint(ports, SampleOrder(), shop);
  EXPECT_EQ(line.printer().ReadUntilQuiet(), Bytes(MakeOrderReceipt(shop, SampleOrder())));
  EXPECT_TRUE(box.texts().isEmpty());
  EXPECT_EQ(DebugLines().filter(QRegularExpression("^ComPort (Before|After)")),
            QStringList({"ComPort BeforeOpen", "ComPort AfterOpen", "ComPort BeforeClose",
                         "ComPort AfterClose", "ComPort BeforeOpen", "ComPort AfterOpen",
                         "ComPort BeforeClose", "ComPort AfterClose"}));
}

TEST_F(SerialPrinting, ReceiptLongerThanTwoSecondsOnTheLineArrivesWhole) {
  SocatPair line(Link("COM1"));
  ASSERT_TRUE(line.ok());
  PrinterPorts ports;
  const std::string bytes = AllByteValues(10).substr(0, 2500);
  ports.PortOpen();
  ports.PortPrint(bytes);
  ports.PortClose();
  EXPECT_FALSE(ports.isPortError());
  EXPECT_EQ(DebugCount("ComPortException"), 0);
  EXPECT_EQ(line.printer().ReadUntilQuiet(), Bytes(bytes));
}

// A printer that drains the line at its speed: the write must wait well beyond 2000 ms for the
// pty's buffer to empty, and still succeed with every byte delivered.
TEST_F(SerialPrinting, SlowPrinterStillGetsEveryByteWithinTheWait) {
  BarePty line(Link("COM1"));
  ASSERT_TRUE(line.ok());
  WriteSettings("[ComPort]\nPort=COM1\nBaudRate=115200\n");
  PrinterPorts ports;
  ports.PortInit();
  const int bytesPerSecond = 11520;
  const std::string bytes = AllByteValues(200).substr(0, 49000);
  QByteArray arrived;
  std::thread printer([&] { arrived = line.printer().ReadAtRate(qsizetype(bytes.size()), bytesPerSecond, 15000); });
  QElapsedTimer took;
  took.start();
  ports.PortOpen();
  ports.PortPrint(bytes);
  const qint64 writeMs = took.elapsed();
  ports.PortClose();
  printer.join();
  EXPECT_FALSE(ports.isPortError()) << DebugLines().join('\n').toStdString();
  EXPECT_EQ(arrived, Bytes(bytes));
  RecordProperty("write_ms", int(writeMs));
}

class SerialPortUnavailable : public SerialPrinting {
 protected:
  // Runs one order job on a port that cannot be opened; the operator answers Cancel.
  void ExpectFailedJob(const std::function<const PrinterEnd*()>& makeUnavailable) {
    const PrinterEnd* printer = makeUnavailable();
    ScriptedMessageBox box;
    box.answerNext(platform::MsgResult::Cancel);
    PrinterPorts ports;
    ComOrderPrint(ports, SampleOrder(), SampleShop());

    EXPECT_TRUE(ports.isPortError());
    EXPECT_GE(DebugCount("ComPortException ComportMsg : "), 1);
    EXPECT_TRUE(ErrorLog().contains("ComPortException ComportMsg : COM1")) << ErrorLog().toStdString();
    EXPECT_EQ(DebugCount(QStringLiteral("출력 오류 : ")), 1);
    EXPECT_EQ(DebugCount(QStringLiteral("출력 정상 : ")), 0);
    EXPECT_EQ(box.texts(), QStringList{kRetryQuestion});
    if (printer) {
      EXPECT_TRUE(printer->ReadUntilQuiet(200).isEmpty());
    }
  }
};

TEST_F(SerialPortUnavailable, MissingPortIsReportedAndOffersARetry) {
  ExpectFailedJob([&]() -> const PrinterEnd* {
    LinkPort("COM1", data.root() + "/unplugged-adapter");
    return nullptr;
  });
}

TEST_F(SerialPortUnavailable, PortHeldByAnotherProgramIsReportedAndNothingSent) {
  SocatPair line(Link("COM1"));
  ASSERT_TRUE(line.ok());
  const int holder = ::open(QFile::encodeName(Link("COM1")).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(holder, 0);
  ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
  ExpectFailedJob([&] { return &line.printer(); });
  EXPECT_TRUE(DebugLines().filter("in use").size() >= 1);
  ::close(holder);
}

TEST_F(SerialPortUnavailable, OkAfterThePortIsBackPrintsOnceAndAsksNoMore) {
  LinkPort("COM1", data.root() + "/unplugged-adapter");
  std::unique_ptr<SocatPair> line;
  int questions = 0;
  const auto previous = platform::SetMessageBoxHandler(
      [&](const QString&, platform::MsgButtons, platform::MsgIcon) {
        ++questions;
        line = std::make_unique<SocatPair>(Link("COM1"));  // the operator plugs the printer in
        return platform::MsgResult::Ok;
      });
  PrinterPorts ports;
  const TShop shop = SampleShop();
  ComOrderPrint(ports, SampleOrder(), shop);
  platform::SetMessageBoxHandler(previous);

  EXPECT_EQ(questions, 1);
  ASSERT_TRUE(line && line->ok());
  EXPECT_FALSE(ports.isPortError());
  EXPECT_EQ(line->printer().ReadUntilQuiet(), Bytes(MakeOrderReceipt(shop, SampleOrder())));
}

TEST_F(SerialPrinting, PortOpenOnAnOpenPortKeepsItOpenAndClearsTheFlag) {
  SocatPair line(Link("COM1"));
  ASSERT_TRUE(line.ok());
  PrinterPorts ports;
  ports.PortOpen();
  SerialSettings bad = ports.ComPort().Settings();
  bad.dataBits = 9;  // cannot be applied: the component reports it and the flag is set
  ports.ComPort().SetSettings(bad);
  ASSERT_TRUE(ports.isPortError());
  ASSERT_TRUE(ports.ComPort().Connected());

  EXPECT_TRUE(ports.PortOpen());
  EXPECT_FALSE(ports.isPortError());
  EXPECT_TRUE(ports.ComPort().Connected());
  EXPECT_EQ(DebugCount("ComPort BeforeOpen"), 1);  // not reopened
  ports.PortClose();
}

TEST_F(SerialPrinting, PrinterThatTakesNothingFailsTheWriteOnceTheWaitRunsOut) {
  BarePty line(Link("COM1"));  // nobody reads: the pty buffer fills and stays full
  ASSERT_TRUE(line.ok());
  WriteSettings("[ComPort]\nPort=COM1\nBaudRate=Custom\nCustomBaudRate=1000000\n");
  PrinterPorts ports;
  ports.PortInit();
  const std::string bytes(60000, 'x');
  ports.PortOpen();
  ports.PortPrint(bytes);
  ports.PortClose();
  EXPECT_TRUE(ports.isPortError());
  EXPECT_EQ(DebugLines().filter("ComPortException ComportMsg : COM1: write not finished after 2750 ms").size(), 1)
      << DebugLines().join('\n').toStdString();
}

TEST_F(SerialPortUnavailable, TestReceiptOnAMissingPortShowsTheConnectionMessageOnce) {
  LinkPort("COM1", data.root() + "/unplugged-adapter");
  ScriptedMessageBox box;
  PrinterPorts ports;
  TestPrint(ports, QStringLiteral("COM1"), SampleShop());
  EXPECT_TRUE(ports.isPortError());
  EXPECT_EQ(box.texts(), QStringList{QStringLiteral(
                             "프린터 연결에 실패했습니다. 프린터 설정을 확인 후 다시 시도하세요.")});
  EXPECT_EQ(box.questions(), 0);
}
