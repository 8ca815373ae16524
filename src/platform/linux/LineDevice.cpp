#include "platform/LineDevice.h"

#include <QFile>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {
namespace {

// A printer that takes no byte for this long is off or jammed; a slow one keeps going.
constexpr int kStallMs = 10000;

QString ErrnoText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  int Close() {  // errno of close(), 0 on success
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

// A fifo whose reader went away raises SIGPIPE, which would end the whole client: hold the
// signal back for this thread and swallow the one our write caused.
class SigpipeBlock {
 public:
  SigpipeBlock() {
    sigemptyset(&pipe_);
    sigaddset(&pipe_, SIGPIPE);
    sigset_t pending;
    sigpending(&pending);
    wasPending_ = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipe_, &old_);
  }
  ~SigpipeBlock() {
    sigset_t pending;
    sigpending(&pending);
    if (!wasPending_ && sigismember(&pending, SIGPIPE) == 1) {
      const timespec none{0, 0};
      sigtimedwait(&pipe_, nullptr, &none);
    }
    pthread_sigmask(SIG_SETMASK, &old_, nullptr);
  }
  SigpipeBlock(const SigpipeBlock&) = delete;
  SigpipeBlock& operator=(const SigpipeBlock&) = delete;

 private:
  sigset_t pipe_;
  sigset_t old_;
  bool wasPending_ = false;
};

}  // namespace

QString WriteLineDevice(const QString& path, const std::string& bytes) {
  // Non-blocking open: a fifo without a reader fails at once instead of hanging the job.
  Descriptor fd(::open(QFile::encodeName(path).constData(),
                       O_WRONLY | O_TRUNC | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (fd.get() < 0) return QStringLiteral("cannot open %1: %2").arg(path, ErrnoText(errno));

  const SigpipeBlock noSigpipe;
  size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::write(fd.get(), bytes.data() + sent, bytes.size() - sent);
    if (n > 0) {
      sent += size_t(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return QStringLiteral("cannot write %1: %2").arg(path, ErrnoText(errno));
    pollfd p{fd.get(), POLLOUT, 0};
    if (::poll(&p, 1, kStallMs) == 0)
      return QStringLiteral("cannot write %1: no progress for %2 ms (%3 of %4 bytes)")
          .arg(path)
          .arg(kStallMs)
          .arg(sent)
          .arg(bytes.size());
  }
  struct stat st;
  if (::fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode) && ::fdatasync(fd.get()) != 0)
    return QStringLiteral("cannot flush %1: %2").arg(path, ErrnoText(errno));
  if (const int error = fd.Close(); error != 0)
    return QStringLiteral("cannot close %1: %2").arg(path, ErrnoText(error));
  return {};
}

}  // namespace platform
