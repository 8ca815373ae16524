#pragma once
// A real cupsd in a temporary folder, listening on a free loopback port. Its backends for usb,
// serial, parallel and socket are one capture script that appends each job's bytes to
// capture/<queue>, so a raw job can be compared byte for byte.

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class CupsSandbox {
 public:
  CupsSandbox();
  ~CupsSandbox();
  CupsSandbox(const CupsSandbox&) = delete;
  CupsSandbox& operator=(const CupsSandbox&) = delete;

  bool ok() const { return ok_; }
  const QString& why() const { return why_; }
  QString server() const { return QStringLiteral("127.0.0.1:%1").arg(port_); }

  bool AddQueue(const QString& name, const QString& deviceUri);
  QByteArray Captured(const QString& queue) const;

 private:
  bool Prepare();
  bool Run(const QString& program, const QStringList& args);

  QTemporaryDir dir_;
  QProcess cupsd_;
  int port_ = 0;
  bool ok_ = false;
  QString why_;
};
