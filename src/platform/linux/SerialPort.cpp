#include "platform/SerialPort.h"

#include <QFile>
#include <QSocketNotifier>

// termios2 lets any rate be set (14400, 56000 and friends have no Bxxx constant); it lives in
// the kernel's headers, which clash with <termios.h>, so this file uses only those.
#include <asm/termbits.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <thread>
#include <utility>

#include "platform/PortNames.h"

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

QString ErrnoText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// Empty on success, else why the line could not be set up.
QString ApplyLineSettings(int fd, const SerialSettings& s) {
  if (s.dataBits < 5 || s.dataBits > 8) return QStringLiteral("unsupported data bits %1").arg(s.dataBits);
  if (s.LineRate() <= 0) return QStringLiteral("invalid baud rate %1").arg(s.LineRate());

  termios2 t{};
  if (::ioctl(fd, TCGETS2, &t) != 0) return ErrnoText(errno);
  // Raw bytes both ways: no echo, no line editing, no CR/LF translation.
  t.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY);
  t.c_oflag &= ~OPOST;
  t.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS | HUPCL | CBAUD | (CBAUD << IBSHIFT));
  t.c_cflag |= CLOCAL | CREAD | BOTHER | (BOTHER << IBSHIFT);
  static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
  t.c_cflag |= kSizes[s.dataBits - 5];
  switch (s.parity) {
    case Parity::None: break;
    case Parity::Odd: t.c_cflag |= PARENB | PARODD; break;
    case Parity::Even: t.c_cflag |= PARENB; break;
    case Parity::Mark: t.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case Parity::Space: t.c_cflag |= PARENB | CMSPAR; break;
  }
  if (s.stopBits != StopBits::One) t.c_cflag |= CSTOPB;  // with 5 data bits the UART sends 1.5
  if (s.flowControl == FlowControl::Hardware) t.c_cflag |= CRTSCTS;
  if (s.flowControl == FlowControl::Software) t.c_iflag |= IXON | IXOFF;
  t.c_ispeed = t.c_ospeed = static_cast<speed_t>(s.LineRate());
  // A read returns at once with whatever has arrived.
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  if (::ioctl(fd, TCSETS2, &t) != 0) return ErrnoText(errno);

  if (s.flowControl != FlowControl::Hardware) {
    // DTR and RTS line control disabled; a pty has no modem lines, which is fine.
    int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(fd, TIOCMBIC, &lines);
  }
  return {};
}

}  // namespace

struct SerialPort::Device {
  explicit Device(int descriptor) : fd(descriptor) {}
  ~Device() {
    if (notifier) {
      notifier->setEnabled(false);
      // May be running its own activated() right now (a handler that closes the port).
      notifier.release()->deleteLater();
    }
    if (fd >= 0) ::close(fd);
  }
  // Closes now and gives close()'s errno, 0 on success.
  int CloseNow() {
    const int rc = ::close(std::exchange(fd, -1));
    return rc == 0 ? 0 : errno;
  }

  int fd;
  std::unique_ptr<QSocketNotifier> notifier;
  bool outputPending = false;  // a write failed or ran out of time with bytes still queued
  bool haveCounters = false;
  serial_icounter_struct counters{};
};

int SerialSettings::BitsPerByte() const {
  return 1 + dataBits + (parity == Parity::None ? 0 : 1) + (stopBits == StopBits::One ? 1 : 2);
}

const QList<int>& StandardBaudRates() {
  static const QList<int> rates = {110,   300,   600,   1200,  2400,   4800,   9600,  14400,
                                   19200, 38400, 56000, 57600, 115200, 128000, 256000};
  return rates;
}

int WriteWaitMs(qsizetype bytes, const SerialSettings& settings) {
  constexpr qint64 kStartMs = 2000;
  const qint64 rate = settings.LineRate();
  if (rate <= 0 || bytes <= 0) return kStartMs;
  const qint64 lineMs = (qint64(bytes) * settings.BitsPerByte() * 1000 + rate - 1) / rate;
  return int(std::min<qint64>(kStartMs + lineMs + lineMs / 4, INT_MAX));
}

SerialPort::SerialPort(const QString& name, QObject* parent) : QObject(parent) { setObjectName(name); }

// Quietly: the owner may be half destroyed, so no notifications and no handler calls.
SerialPort::~SerialPort() {
  if (device_) device_->notifier.reset();
}

void SerialPort::Report(const QString& message) {
  if (handler_) {
    handler_(message);
    return;
  }
  throw SerialPortError(message);
}

bool SerialPort::Connected() const { return device_ != nullptr; }

void SerialPort::SetPort(const QString& port) {
  SerialSettings s = settings_;
  s.port = port;
  SetSettings(s);
}

void SerialPort::SetSettings(const SerialSettings& settings) {
  const bool reopen = Connected() && settings.port != settings_.port;
  settings_ = settings;
  if (reopen) {
    Close();
    Open();
  } else if (Connected()) {
    ApplySettings();
  }
}

void SerialPort::ApplySettings() {
  const QString error = ApplyLineSettings(device_->fd, settings_);
  if (!error.isEmpty()) Report(QStringLiteral("%1: cannot apply settings: %2").arg(settings_.port, error));
}

void SerialPort::Open() {
  if (Connected()) return;
  emit BeforeOpen();
  const QString& port = settings_.port;
  const QString path = ComDevicePath(port);
  if (path.isEmpty()) return Report(QStringLiteral("%1: not a serial port name").arg(port));

  auto device = std::make_unique<Device>(
      ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (device->fd < 0) {
    const int error = errno;
    return Report(QStringLiteral("%1: cannot open %2: %3").arg(port, path, ErrnoText(error)));
  }
  if (!::isatty(device->fd)) return Report(QStringLiteral("%1: %2 is not a serial port").arg(port, path));
  // Another program (or our other port component) holding the device counts as busy; the
  // advisory lock holds for root too, where TIOCEXCL does not.
  if (::flock(device->fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    return Report(error == EWOULDBLOCK ? QStringLiteral("%1: %2 is in use by another program").arg(port, path)
                                       : QStringLiteral("%1: cannot lock %2: %3").arg(port, path, ErrnoText(error)));
  }
  ::ioctl(device->fd, TIOCEXCL);
  const QString error = ApplyLineSettings(device->fd, settings_);
  if (!error.isEmpty()) return Report(QStringLiteral("%1: cannot apply settings: %2").arg(port, error));
  ::ioctl(device->fd, TCFLSH, TCIOFLUSH);  // nothing stale from before we opened
  device->haveCounters = ::ioctl(device->fd, TIOCGICOUNT, &device->counters) == 0;

  device->notifier = std::make_unique<QSocketNotifier>(device->fd, QSocketNotifier::Read);
  connect(device->notifier.get(), &QSocketNotifier::activated, this, &SerialPort::OnReadable);
  device_ = std::move(device);
  emit AfterOpen();
}

void SerialPort::Close() {
  if (!Connected()) return;
  emit BeforeClose();
  // Output a failed write left behind is dropped, not drained: a close must not wait on a
  // stuck printer. After a completed write the queue is empty on a UART, but a pty counts the
  // bytes its peer has not read yet as queued, and flushing would throw those away.
  ::ioctl(device_->fd, TCFLSH, device_->outputPending ? TCIOFLUSH : TCIFLUSH);
  ::ioctl(device_->fd, TIOCNXCL);  // or another holder of the tty keeps us out next time
  const int error = device_->CloseNow();
  device_.reset();
  emit AfterClose();
  if (error != 0) Report(QStringLiteral("%1: close failed: %2").arg(settings_.port, ErrnoText(error)));
}

bool SerialPort::Write(const char* data, qsizetype size) {
  const QString& port = settings_.port;
  if (!Connected()) {
    Report(QStringLiteral("%1: port not open").arg(port));
    return false;
  }
  const int waitMs = WriteWaitMs(size, settings_);
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(waitMs);
  const auto msLeft = [&] {
    return std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  };
  const auto timedOut = [&](qsizetype sent) {
    device_->outputPending = true;
    Report(QStringLiteral("%1: write not finished after %2 ms (%3 of %4 bytes sent)")
               .arg(port)
               .arg(waitMs)
               .arg(sent)
               .arg(size));
    return false;
  };

  const int fd = device_->fd;
  qsizetype sent = 0;
  while (sent < size) {
    const ssize_t n = ::write(fd, data + sent, size_t(size - sent));
    if (n > 0) {
      sent += n;
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) {
      const int error = errno;
      device_->outputPending = true;
      Report(QStringLiteral("%1: write failed: %2").arg(port, ErrnoText(error)));
      return false;
    }
    const qint64 left = msLeft();
    if (left <= 0) return timedOut(sent);
    pollfd p{fd, POLLOUT, 0};
    ::poll(&p, 1, int(left));
  }
  // Handed to the driver is not yet on the line: wait for the output queue to empty, or the
  // close that follows would drop the receipt's tail.
  for (;;) {
    int queued = 0;
    if (::ioctl(fd, TIOCOUTQ, &queued) != 0 || queued <= 0) return true;
    const qint64 left = msLeft();
    if (left <= 0) return timedOut(size - queued);
    const qint64 drainMs = qint64(queued) * settings_.BitsPerByte() * 1000 / std::max(1, settings_.LineRate());
    std::this_thread::sleep_for(std::chrono::milliseconds(std::clamp<qint64>(drainMs, 1, std::min<qint64>(left, 50))));
  }
}

qsizetype SerialPort::Read(char* buffer, qsizetype count) {
  if (!Connected()) {
    Report(QStringLiteral("%1: port not open").arg(settings_.port));
    return 0;
  }
  qsizetype got = 0;
  while (got < count) {
    const ssize_t n = ::read(device_->fd, buffer + got, size_t(count - got));
    if (n > 0) {
      got += n;
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n == 0 || errno == EAGAIN) {
      break;
    } else {
      const int error = errno;
      Report(QStringLiteral("%1: read failed: %2").arg(settings_.port, ErrnoText(error)));
      break;
    }
  }
  return got;
}

qsizetype SerialPort::InputCount() const {
  int waiting = 0;
  if (!Connected() || ::ioctl(device_->fd, FIONREAD, &waiting) != 0) return 0;
  return waiting;
}

void SerialPort::OnReadable() {
  if (!Connected()) return;
  Device& d = *device_;
  if (d.haveCounters) {
    serial_icounter_struct now{};
    if (::ioctl(d.fd, TIOCGICOUNT, &now) == 0) {
      const bool fault = now.frame != d.counters.frame || now.overrun != d.counters.overrun ||
                         now.parity != d.counters.parity || now.brk != d.counters.brk ||
                         now.buf_overrun != d.counters.buf_overrun;
      d.counters = now;
      if (fault) emit LineError();
      if (!Connected()) return;
    }
  }
  const qsizetype waiting = InputCount();
  if (waiting > 0) {
    emit RxChar(int(std::min<qsizetype>(waiting, kBufferSize)));
    return;
  }
  // Readable with nothing to read: the device is gone. Stop listening, or this fires forever.
  pollfd p{d.fd, POLLIN, 0};
  if (::poll(&p, 1, 0) <= 0 || !(p.revents & (POLLHUP | POLLERR | POLLNVAL))) return;
  d.notifier->setEnabled(false);
  const QString message = QStringLiteral("%1: device disconnected").arg(settings_.port);
  if (handler_)
    handler_(message);
  else
    emit DeviceLost(message);
}

}  // namespace platform
