#include "PtyPair.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

void MakeRaw(int fd) {
  termios t{};
  if (tcgetattr(fd, &t) != 0) return;
  cfmakeraw(&t);
  tcsetattr(fd, TCSANOW, &t);
}

}  // namespace

PrinterEnd::PrinterEnd(int fd) { Reset(fd); }

PrinterEnd::~PrinterEnd() { Reset(-1); }

void PrinterEnd::Reset(int fd) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = fd;
  if (fd_ >= 0) MakeRaw(fd_);
}

QByteArray PrinterEnd::ReadUntilQuiet(int quietMs) const {
  QByteArray got;
  char buf[4096];
  for (;;) {
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, quietMs) <= 0) return got;
    const ssize_t n = ::read(fd_, buf, sizeof buf);
    if (n <= 0) return got;
    got.append(buf, n);
  }
}

QByteArray PrinterEnd::ReadAtRate(qsizetype total, int bytesPerSecond, int timeoutMs) const {
  using namespace std::chrono;
  QByteArray got;
  const auto start = steady_clock::now();
  char buf[4096];
  while (got.size() < total && steady_clock::now() - start < milliseconds(timeoutMs)) {
    const double elapsed = duration<double>(steady_clock::now() - start).count();
    const qsizetype allowed = std::min<qsizetype>(total, qsizetype(elapsed * bytesPerSecond)) - got.size();
    if (allowed <= 0) {
      std::this_thread::sleep_for(milliseconds(10));
      continue;
    }
    const ssize_t n = ::read(fd_, buf, size_t(std::min<qsizetype>(allowed, sizeof buf)));
    if (n > 0)
      got.append(buf, n);
    else
      std::this_thread::sleep_for(milliseconds(5));
  }
  return got;
}

void PrinterEnd::Write(const QByteArray& bytes) const {
  qsizetype sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.constData() + sent, size_t(bytes.size() - sent));
    if (n > 0) sent += n;
    else std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

SocatPair::SocatPair(const QString& clientLink) : printerLink_(clientLink + ".printer") {
  QFile::remove(clientLink);
  QFile::remove(printerLink_);
  socat_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  socat_.start(QStringLiteral("socat"), {QStringLiteral("pty,raw,echo=0,link=") + clientLink,
                                         QStringLiteral("pty,raw,echo=0,link=") + printerLink_});
  if (!socat_.waitForStarted(5000)) return;
  const QDeadlineTimer deadline(5000);
  while (!(QFileInfo::exists(clientLink) && QFileInfo::exists(printerLink_)) && !deadline.hasExpired())
    QThread::msleep(10);
  if (deadline.hasExpired()) return;
  printer_.Reset(::open(QFile::encodeName(printerLink_).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK));
  ok_ = printer_.fd() >= 0;
}

SocatPair::~SocatPair() {
  if (socat_.state() == QProcess::NotRunning) return;
  socat_.terminate();
  if (!socat_.waitForFinished(3000)) socat_.kill();
  socat_.waitForFinished(1000);
}

BarePty::BarePty(const QString& clientLink) {
  int master = -1;
  int slave = -1;
  char name[128];
  if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) return;
  ::close(slave);  // the client opens it again through the link
  ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
  QFile::remove(clientLink);
  if (!QFile::link(QString::fromLocal8Bit(name), clientLink)) {
    ::close(master);
    return;
  }
  printer_.Reset(master);
}
