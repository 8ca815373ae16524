#include "print/RawPrint.h"

#include <QRegularExpression>

#include <cups/cups.h>

#include "print/PrintLog.h"

namespace {

constexpr int kConnectMs = 10000;
constexpr const char* kDocumentName = "OrderPrint";

struct HttpCloser {
  void operator()(http_t* http) const { httpClose(http); }
};
using Http = std::unique_ptr<http_t, HttpCloser>;

struct IppDeleter {
  void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using Ipp = std::unique_ptr<ipp_t, IppDeleter>;

Http ConnectToSpooler() {
  return Http(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                           kConnectMs, nullptr));
}

QString LastError() { return QString::fromUtf8(cupsLastErrorString()); }

bool IppOk(ipp_status_t status) { return status < IPP_STATUS_REDIRECTION_OTHER_SITE; }

// Queue names as the spooler allows them; anything else cannot name a queue.
bool IsQueueName(const QByteArray& name) {
  if (name.isEmpty() || name.size() > 127) return false;
  for (const char c : name)
    if (static_cast<unsigned char>(c) <= ' ' || c == 0x7f || c == '/' || c == '\\' || c == '#')
      return false;
  return true;
}

bool QueueExists(http_t* http, const QByteArray& name) {
  char uri[HTTP_MAX_URI];
  httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                   "/printers/%s", name.constData());
  ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
               "printer-state");
  const Ipp response(cupsDoRequest(http, request, "/"));
  return response && IppOk(cupsLastError());
}

void CancelJob(const QByteArray& name, int jobId) {
  // A fresh connection: the job's own one may be mid-request after a failed write.
  const Http http = ConnectToSpooler();
  if (!http || !IppOk(cupsCancelJob2(http.get(), name.constData(), jobId, 0)))
    PrintDebugLog(QStringLiteral("RawPrintClose... err EndDocPrinter"));
}

}  // namespace

struct RawPrintJob {
  Http http;
  QByteArray name;
  int jobId = 0;
};

void RawPrintJobDeleter::operator()(RawPrintJob* job) const {
  CancelJob(job->name, job->jobId);
  delete job;
}

RawPrintHandle RawPrintOpen(const QString& name) {
  auto job = std::make_unique<RawPrintJob>();
  job->name = name.toUtf8();
  job->http = ConnectToSpooler();
  if (!IsQueueName(job->name) || !job->http || !QueueExists(job->http.get(), job->name)) {
    PrintDebugLog(QStringLiteral("RawPrintList... err OpenPrinter"));
    return nullptr;
  }
  job->jobId = cupsCreateJob(job->http.get(), job->name.constData(), kDocumentName, 0, nullptr);
  if (job->jobId <= 0) {
    PrintDebugLog(QStringLiteral("RawPrintOpen... err StartDocPrinter"));
    PrintDebugLog("RawPrintOpen err : " + LastError());
    return nullptr;
  }
  if (cupsStartDocument(job->http.get(), job->name.constData(), job->jobId, kDocumentName,
                        CUPS_FORMAT_RAW, 1) != HTTP_STATUS_CONTINUE) {
    PrintDebugLog(QStringLiteral("RawPrintOpen... err StartPagePrinter"));
    PrintDebugLog("RawPrintOpen err : " + LastError());
    CancelJob(job->name, job->jobId);
    return nullptr;
  }
  return RawPrintHandle(job.release());
}

bool RawPrintWriteStr(RawPrintJob& job, const std::string& bytes) {
  PrintDebugLog("RawPrintWriteStr... " + BytesLogText(bytes));
  // A zero-length chunk would end the document early; nothing to send is simply accepted.
  if (bytes.empty()) return true;
  const bool ok = cupsWriteRequestData(job.http.get(), bytes.data(), bytes.size()) == HTTP_STATUS_CONTINUE;
  if (!ok) {
    PrintDebugLog(QStringLiteral("RawPrintWriteStr... err WriteCut"));
    // The spooler takes a write whole or not at all.
    PrintDebugLog(QStringLiteral("RawPrintWriteStr... err WriteCut len"));
  }
  return ok;
}

void RawPrintClose(RawPrintHandle handle) {
  if (!handle) return;
  std::unique_ptr<RawPrintJob> job(handle.release());
  if (!IppOk(cupsFinishDocument(job->http.get(), job->name.constData()))) {
    PrintDebugLog(QStringLiteral("RawPrintClose... err EndPagePrinter"));
    PrintDebugLog("RawPrintClose err : " + LastError());
    CancelJob(job->name, job->jobId);
  }
  job->http.reset();  // closing a connection cannot fail
}

std::optional<QString> PrinterListEntry(const QString& deviceUri, const QString& queueName) {
  if (deviceUri.startsWith(QLatin1String("usb:"))) return queueName;
  static const QRegularExpression kDevice(
      QStringLiteral("^(parallel:/dev/lp|serial:/dev/ttyS)(0|[1-9][0-9]{0,3})(\\?.*)?$"));
  const QRegularExpressionMatch m = kDevice.match(deviceUri);
  if (!m.hasMatch()) return std::nullopt;
  const QString prefix = m.captured(1).startsWith(QLatin1String("parallel")) ? QStringLiteral("LPT")
                                                                             : QStringLiteral("COM");
  return prefix + QString::number(m.captured(2).toInt() + 1);
}

QStringList GetPrinterList() {
  QStringList list;
  const Http http = ConnectToSpooler();
  if (!http) {
    PrintDebugLog("GetPrinterList err : " + LastError());
    return list;
  }
  ipp_t* request = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
  static const char* const kWanted[] = {"printer-name", "device-uri"};
  ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 2, nullptr, kWanted);
  const Ipp response(cupsDoRequest(http.get(), request, "/"));
  if (!response) {
    if (cupsLastError() != IPP_STATUS_ERROR_NOT_FOUND) PrintDebugLog("GetPrinterList err : " + LastError());
    return list;
  }
  // One printer per attribute group, in the spooler's order.
  for (ipp_attribute_t* a = ippFirstAttribute(response.get()); a;) {
    while (a && ippGetGroupTag(a) != IPP_TAG_PRINTER) a = ippNextAttribute(response.get());
    QString name, uri;
    for (; a && ippGetGroupTag(a) == IPP_TAG_PRINTER; a = ippNextAttribute(response.get())) {
      const char* attrName = ippGetName(a);
      if (!attrName) continue;
      if (qstrcmp(attrName, "printer-name") == 0) name = QString::fromUtf8(ippGetString(a, 0, nullptr));
      if (qstrcmp(attrName, "device-uri") == 0) uri = QString::fromUtf8(ippGetString(a, 0, nullptr));
    }
    // A queue whose device the spooler does not show us is one we may not administer.
    if (name.isEmpty() || uri.isEmpty()) continue;
    PrintDebugAndErrorLog("GetPrinterList : " + uri + " / " + name);
    if (const std::optional<QString> entry = PrinterListEntry(uri, name)) list << *entry;
  }
  return list;
}
