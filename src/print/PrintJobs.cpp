#include "print/PrintJobs.h"

#include "platform/LineDevice.h"
#include "platform/MessageBox.h"
#include "platform/PortNames.h"
#include "print/PrintLog.h"
#include "print/PrinterPorts.h"
#include "print/RawPrint.h"
#include "print/Receipt.h"

namespace {

const QString kRetryQuestion = QStringLiteral("프린터 출력에 실패했습니다. 다시 출력하시겠습니까?");
const QString kConnectFailed =
    QStringLiteral("프린터 연결에 실패했습니다. 프린터 설정을 확인 후 다시 시도하세요.");

// Closes the printer port on every way out, so a failure building the receipt cannot leave
// it held open.
class PortSession {
 public:
  explicit PortSession(PrinterPorts& ports) : ports_(ports) { ports_.PortOpen(); }
  ~PortSession() { ports_.PortClose(); }
  PortSession(const PortSession&) = delete;
  PortSession& operator=(const PortSession&) = delete;

 private:
  PrinterPorts& ports_;
};

// The line-printer device is opened as a file: the bytes and a line break, then closed.
// A failure is shown and logged so the order is never lost without a word; the caller's
// copies go on.
void LptPrint(const char* job, const QString& name, const std::string& receipt) {
  const QString path = platform::LptDevicePath(name);
  const QString error = path.isEmpty() ? QStringLiteral("%1 is not a line-printer port name").arg(name)
                                       : platform::WriteLineDevice(path, receipt + "\r\n");
  if (error.isEmpty()) return;
  PrintDebugAndErrorLog(QLatin1String(job) + " err : " + error);
  platform::ShowMessage(kConnectFailed);
}

template <typename MakeBytes>
void RawPrint(const QString& name, MakeBytes makeBytes) {
  RawPrintHandle job = RawPrintOpen(name);
  if (!job) {
    platform::ShowMessage(kConnectFailed);
    return;
  }
  RawPrintWriteStr(*job, makeBytes());
  RawPrintClose(std::move(job));
}

}  // namespace

PrintRoute RouteOf(const QString& printerName) {
  if (printerName.startsWith(QLatin1String("COM"))) return PrintRoute::Serial;
  if (printerName.startsWith(QLatin1String("LPT"))) return PrintRoute::Parallel;
  return PrintRoute::Spooler;
}

void ComOrderPrint(PrinterPorts& ports, const TOrderInfo& order, const TShop& shop) {
  for (;;) {
    {
      const PortSession session(ports);
      ports.PortPrint(MakeOrderReceipt(shop, order));
    }
    if (!ports.isPortError()) return;
    if (platform::ShowMessage(kRetryQuestion, platform::MsgButtons::OkCancel) != platform::MsgResult::Ok)
      return;
  }
}

void ComTestPrint(PrinterPorts& ports, const QString&, const TShop& shop) {
  const std::string bytes = MakeTestReceipt(shop);
  {
    const PortSession session(ports);
    ports.PortPrint(bytes);
  }
  if (ports.isPortError()) platform::ShowMessage(kConnectFailed);
}

void LptOrderPrint(const TOrderInfo& order, const TShop& shop) {
  LptPrint("LptOrderPrint", shop.PrinterName, MakeOrderReceipt(shop, order));
}

void LptTestPrint(const QString& name, const TShop& shop) {
  LptPrint("LptTestPrint", name, MakeTestReceipt(shop));
}

void RawOrderPrint(const TOrderInfo& order, const TShop& shop) {
  RawPrint(shop.PrinterName, [&] { return MakeOrderReceipt(shop, order); });
}

void RawTestPrint(const QString& name, const TShop& shop) {
  RawPrint(name, [&] { return MakeTestReceipt(shop); });
}

void OrderPrint(PrinterPorts& ports, const TOrderInfo& order, const TShop& shop) {
  switch (RouteOf(shop.PrinterName)) {
    case PrintRoute::Serial: return ComOrderPrint(ports, order, shop);
    case PrintRoute::Parallel: return LptOrderPrint(order, shop);
    case PrintRoute::Spooler: return RawOrderPrint(order, shop);
  }
}

void TestPrint(PrinterPorts& ports, const QString& name, const TShop& shop) {
  switch (RouteOf(name)) {
    case PrintRoute::Serial: return ComTestPrint(ports, name, shop);
    case PrintRoute::Parallel: return LptTestPrint(name, shop);
    case PrintRoute::Spooler: return RawTestPrint(name, shop);
  }
}
