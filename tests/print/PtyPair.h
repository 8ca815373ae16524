#pragma once
// Serial lines for tests: a socat pty pair (the client's end linked as a port, the printer's
// end read by the test), or a bare pty whose master the test holds as the printer.

#include <QByteArray>
#include <QProcess>
#include <QString>

// The printer's side of a line: a raw, non-blocking descriptor the test reads.
class PrinterEnd {
 public:
  PrinterEnd() = default;
  explicit PrinterEnd(int fd);
  ~PrinterEnd();
  PrinterEnd(const PrinterEnd&) = delete;
  PrinterEnd& operator=(const PrinterEnd&) = delete;
  void Reset(int fd);

  int fd() const { return fd_; }
  // Everything that arrives until nothing more has come for quietMs.
  QByteArray ReadUntilQuiet(int quietMs = 300) const;
  // Reads `total` bytes at most bytesPerSecond (a printer draining the line), up to timeoutMs.
  QByteArray ReadAtRate(qsizetype total, int bytesPerSecond, int timeoutMs) const;
  void Write(const QByteArray& bytes) const;

 private:
  int fd_ = -1;
};

class SocatPair {
 public:
  // clientLink is where the client's serial port finds its device (e.g. ports/COM1).
  explicit SocatPair(const QString& clientLink);
  ~SocatPair();
  SocatPair(const SocatPair&) = delete;
  SocatPair& operator=(const SocatPair&) = delete;

  bool ok() const { return ok_; }
  const PrinterEnd& printer() const { return printer_; }

 private:
  QString printerLink_;
  QProcess socat_;
  PrinterEnd printer_;
  bool ok_ = false;
};

// A pty whose slave is linked at clientLink and whose master is the printer: no socat buffer in
// between, so the kernel's pty buffer is all the slack a slow printer gives.
class BarePty {
 public:
  explicit BarePty(const QString& clientLink);
  bool ok() const { return printer_.fd() >= 0; }
  const PrinterEnd& printer() const { return printer_; }

 private:
  PrinterEnd printer_;
};
