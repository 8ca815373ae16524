#pragma once
// The spooler route: one raw job (document "OrderPrint") on a CUPS queue, and the printer list.

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <string>

struct RawPrintJob;
// Dropping a handle without RawPrintClose cancels its job: a started job never stays open.
struct RawPrintJobDeleter {
  void operator()(RawPrintJob* job) const;
};
using RawPrintHandle = std::unique_ptr<RawPrintJob, RawPrintJobDeleter>;

// A job with its raw document started on the queue, or null (logged) when that failed.
RawPrintHandle RawPrintOpen(const QString& name);
// One write of the whole byte string; true when all of it was accepted.
bool RawPrintWriteStr(RawPrintJob& job, const std::string& bytes);
// Ends the document and the job (cancelling the job when the end fails) and closes; logs each
// failed step.
void RawPrintClose(RawPrintHandle job);

// The queues a shop can choose, in the spooler's order; each queue is logged as
// "GetPrinterList : " + device URI + " / " + name.
QStringList GetPrinterList();

// The list entry for a queue: its name for a usb: device, LPT(N+1) for parallel:/dev/lpN,
// COM(N+1) for serial:/dev/ttySN; nothing for any other device.
std::optional<QString> PrinterListEntry(const QString& deviceUri, const QString& queueName);
