#include "CupsSandbox.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

namespace {

bool WriteText(const QString& path, const QString& text, QFile::Permissions perms = {}) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(text.toUtf8()) < 0) return false;
  f.close();
  return perms == QFile::Permissions() || f.setPermissions(perms);
}

int FreePort() {
  QTcpServer probe;
  return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

}  // namespace

CupsSandbox::CupsSandbox() {
  if (::geteuid() != 0) {
    why_ = "cupsd needs root to drop to user lp";
    return;
  }
  if (!dir_.isValid() || !Prepare()) return;
  port_ = FreePort();
  const QString root = dir_.path();
  WriteText(root + "/cupsd.conf", QStringLiteral(
      "Listen 127.0.0.1:%1\nLogLevel warn\nBrowsing No\nWebInterface No\nDefaultPolicy open\n"
      "<Policy open>\n<Limit All>\nOrder deny,allow\n</Limit>\n</Policy>\n").arg(port_));
  cupsd_.setProcessChannelMode(QProcess::MergedChannels);
  cupsd_.start(QStringLiteral("/usr/sbin/cupsd"),
               {"-f", "-c", root + "/cupsd.conf", "-s", root + "/cups-files.conf"});
  if (!cupsd_.waitForStarted(5000)) {
    why_ = "cupsd did not start";
    return;
  }
  const QDeadlineTimer deadline(10000);
  while (!deadline.hasExpired()) {
    QTcpSocket probe;
    probe.connectToHost(QHostAddress::LocalHost, quint16(port_));
    if (probe.waitForConnected(200)) {
      ok_ = true;
      return;
    }
    if (cupsd_.state() == QProcess::NotRunning) break;
    QThread::msleep(50);
  }
  why_ = "cupsd is not listening: " + QString::fromLocal8Bit(cupsd_.readAll());
}

CupsSandbox::~CupsSandbox() {
  if (cupsd_.state() == QProcess::NotRunning) return;
  cupsd_.terminate();
  if (!cupsd_.waitForFinished(5000)) cupsd_.kill();
  cupsd_.waitForFinished(1000);
}

bool CupsSandbox::Prepare() {
  const QString root = dir_.path();
  const passwd* lp = ::getpwnam("lp");
  const group* lpGroup = ::getgrnam("lp");
  if (!lp || !lpGroup) {
    why_ = "no user lp";
    return false;
  }
  // cupsd and its backends run as lp: they must reach into the folder.
  QFile::setPermissions(root, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                  QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
  QDir d(root);
  for (const char* sub : {"spool/tmp", "cache", "state", "log", "capture", "serverbin/backend", "serverbin/filter"})
    d.mkpath(sub);
  for (const char* sub : {"spool", "spool/tmp", "cache", "state"}) {
    if (::chown(QFile::encodeName(root + "/" + sub).constData(), lp->pw_uid, lpGroup->gr_gid) != 0) {
      why_ = "cannot hand the spool to lp";
      return false;
    }
  }
  QFile::setPermissions(root + "/capture", QFile::Permissions(0x7777));
  QFile::link("/usr/lib/cups/daemon", root + "/serverbin/daemon");
  QFile::link("/usr/lib/cups/notifier", root + "/serverbin/notifier");
  QFile::link("/usr/lib/cups/backend/ipp", root + "/serverbin/backend/ipp");

  const QString capture = QStringLiteral(
      "#!/bin/sh\n[ $# -eq 0 ] && exit 0\n"
      "if [ -n \"$6\" ]; then cat \"$6\" >> \"%1/capture/$PRINTER\"; else cat >> \"%1/capture/$PRINTER\"; fi\n")
      .arg(root);
  const QFile::Permissions exec = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                  QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
  for (const char* backend : {"capture", "usb", "serial", "parallel", "socket"}) {
    if (!WriteText(root + "/serverbin/backend/" + backend, capture, exec)) {
      why_ = "cannot write the capture backend";
      return false;
    }
  }
  WriteText(root + "/cups-files.conf", QStringLiteral(
      "User lp\nGroup lp\nSystemGroup root\nServerRoot %1\nRequestRoot %1/spool\nTempDir %1/spool/tmp\n"
      "CacheDir %1/cache\nStateDir %1/state\nServerBin %1/serverbin\nDataDir /usr/share/cups\n"
      "AccessLog %1/log/access_log\nErrorLog %1/log/error_log\nPageLog %1/log/page_log\nFileDevice Yes\n")
      .arg(root));
  return true;
}

bool CupsSandbox::Run(const QString& program, const QStringList& args) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("CUPS_SERVER", server());
  p.setProcessEnvironment(env);
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(program, args);
  if (!p.waitForFinished(15000)) return false;
  why_ = QString::fromLocal8Bit(p.readAll());
  return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool CupsSandbox::AddQueue(const QString& name, const QString& deviceUri) {
  return Run(QStringLiteral("lpadmin"), {"-p", name, "-v", deviceUri, "-E"});
}

QByteArray CupsSandbox::Captured(const QString& queue) const {
  QFile f(dir_.path() + "/capture/" + queue);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
