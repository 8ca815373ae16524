#include <gtest/gtest.h>

#include <cups/cups.h>

#include <memory>

#include "CupsSandbox.h"
#include "Fixtures.h"
#include "PrintWorld.h"
#include "print/PrintJobs.h"
#include "print/PrinterPorts.h"
#include "print/RawPrint.h"
#include "print/Receipt.h"
#include "support/ScriptedMessageBox.h"

namespace {

const QString kConnectFailed =
    QStringLiteral("프린터 연결에 실패했습니다. 프린터 설정을 확인 후 다시 시도하세요.");

QByteArray Bytes(const std::string& s) { return QByteArray(s.data(), qsizetype(s.size())); }

struct JobInfo {
  QString title;
  ipp_jstate_t state;
};

QList<JobInfo> Jobs(const char* queue) {
  cups_job_t* jobs = nullptr;
  const int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue, 0, CUPS_WHICHJOBS_ALL);
  QList<JobInfo> list;
  for (int i = 0; i < n; ++i) list.append({QString::fromUtf8(jobs[i].title), jobs[i].state});
  cupsFreeJobs(n, jobs);
  return list;
}

}  // namespace

// One cupsd for the whole suite: starting it takes about a second.
class Spooler : public PrintWorld {
 protected:
  static void SetUpTestSuite() {
    sandbox_ = new CupsSandbox;
    if (!sandbox_->ok()) return;
    qputenv("CUPS_SERVER", sandbox_->server().toUtf8());
    cupsSetServer(sandbox_->server().toUtf8().constData());
    const std::pair<const char*, const char*> queues[] = {
        {"Receipt", "usb://Acme/R1?serial=1"},   {"COMStyle", "usb://Acme/R2?serial=2"},
        {"Kitchen", "parallel:/dev/lp0"},         {"Counter", "serial:/dev/ttyS2?baud=9600"},
        {"Network", "ipp://127.0.0.1:9/ipp/print"}, {"Socket", "socket://127.0.0.1:9100"},
        {"ToFile", "file:///dev/null"},
    };
    for (const auto& [name, uri] : queues) {
      if (!sandbox_->AddQueue(name, uri)) {
        ADD_FAILURE() << "lpadmin " << name << ": " << sandbox_->why().toStdString();
      }
    }
  }
  static void TearDownTestSuite() {
    delete sandbox_;
    sandbox_ = nullptr;
  }
  void SetUp() override {
    if (!sandbox_->ok()) GTEST_SKIP() << sandbox_->why().toStdString();
  }

  static CupsSandbox* sandbox_;
};

CupsSandbox* Spooler::sandbox_ = nullptr;

TEST_F(Spooler, RawJobCarriesTheReceiptBytesExactlyAndFinishes) {
  ScriptedMessageBox box;
  const TShop shop = SampleShop(QStringLiteral("Receipt"));
  PrinterPorts ports;
  OrderPrint(ports, SampleOrder(), shop);

  const QByteArray expected = Bytes(MakeOrderReceipt(shop, SampleOrder()));
  EXPECT_TRUE(WaitFor([&] { return sandbox_->Captured("Receipt") == expected; }, 10000))
      << ::testing::PrintToString(sandbox_->Captured("Receipt"));
  EXPECT_TRUE(WaitFor([&] {
    const QList<JobInfo> jobs = Jobs("Receipt");
    return jobs.size() == 1 && jobs[0].title == "OrderPrint" && jobs[0].state == IPP_JSTATE_COMPLETED;
  }, 10000));
  EXPECT_TRUE(box.texts().isEmpty());
  EXPECT_EQ(DebugCount("RawPrintWriteStr... "), 1);
  EXPECT_EQ(DebugCount("RawPrintClose... err"), 0);
}

TEST_F(Spooler, ListsUsbQueuesByNameAndPortQueuesByPortName) {
  // In the spooler's order (by queue name): COMStyle, Counter, Kitchen, ..., Receipt.
  EXPECT_EQ(GetPrinterList(), QStringList({"COMStyle", "COM3", "LPT1", "Receipt"}));
  EXPECT_EQ(DebugCount("GetPrinterList : "), 7);
  EXPECT_TRUE(DebugLines().contains("GetPrinterList : usb://Acme/R1?serial=1 / Receipt"));
  EXPECT_TRUE(ErrorLog().contains("GetPrinterList : parallel:/dev/lp0 / Kitchen"));
  EXPECT_TRUE(ErrorLog().contains("GetPrinterList : socket://127.0.0.1:9100 / Socket"));
}

TEST_F(Spooler, QueueThatDoesNotExistShowsTheMessageAndSendsNothing) {
  for (const char* name : {"NoSuchQueue", "", "bad/name"}) {
    ScriptedMessageBox box;
    RawTestPrint(name, SampleShop());
    EXPECT_EQ(box.texts(), QStringList{kConnectFailed}) << '"' << name << '"';
  }
  EXPECT_EQ(DebugCount("RawPrintList... err OpenPrinter"), 3);
  EXPECT_EQ(DebugCount("RawPrintWriteStr"), 0);
}

TEST_F(Spooler, AHandleDroppedWithoutClosingCancelsItsJob) {
  {
    RawPrintHandle job = RawPrintOpen("Kitchen");
    ASSERT_TRUE(job);
    RawPrintWriteStr(*job, "half a receipt");
  }
  ASSERT_TRUE(WaitFor([] { return !Jobs("Kitchen").isEmpty(); }));
  EXPECT_EQ(Jobs("Kitchen").last().state, IPP_JSTATE_CANCELED);
}

TEST(PrinterListEntry, FollowsTheDeviceUri) {
  const std::pair<const char*, const char*> cases[] = {
      {"usb://Acme/R1?serial=1", "Q"},  {"parallel:/dev/lp0", "LPT1"}, {"parallel:/dev/lp11", "LPT12"},
      {"serial:/dev/ttyS2", "COM3"},    {"serial:/dev/ttyS0?baud=9600+bits=8", "COM1"},
      {"serial:/dev/ttyUSB0", nullptr}, {"parallel:/dev/usb/lp0", nullptr}, {"USB://x", nullptr},
      {"ipp://h/ipp/print", nullptr},   {"socket://h:9100", nullptr},     {"file:///dev/null", nullptr},
      {"serial:/dev/ttyS02", nullptr},
  };
  for (const auto& [uri, entry] : cases) {
    const std::optional<QString> got = PrinterListEntry(uri, "Q");
    if (entry)
      EXPECT_EQ(got.value_or("<none>"), QString(entry)) << uri;
    else
      EXPECT_FALSE(got) << uri;
  }
}
