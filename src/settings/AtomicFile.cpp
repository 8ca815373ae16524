#include "settings/AtomicFile.h"

#include "settings/IniWriteError.h"

#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace {

std::function<void(const QString&)>& BeforeReplaceHook() {
  static std::function<void(const QString&)> hook;
  return hook;
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

QString ErrnoText(const char* step) {
  return QStringLiteral("%1: %2").arg(QLatin1String(step), QString::fromLocal8Bit(std::strerror(errno)));
}

bool WriteAll(int fd, const QByteArray& data) {
  const char* p = data.constData();
  qsizetype left = data.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    left -= n;
  }
  return true;
}

}  // namespace

void SetBeforeReplaceHookForTest(std::function<void(const QString&)> hook) {
  BeforeReplaceHook() = std::move(hook);
}

void ReplaceFileAtomically(const QString& path, const QByteArray& content) {
  const QByteArray target = QFile::encodeName(path);
  QByteArray temp = target + ".XXXXXX";
  Fd fd(::mkstemp(temp.data()));
  if (fd.get() < 0) throw IniWriteError(path, ErrnoText("create temporary file"));

  // The temporary file exists from here on; it must not outlive a failure.
  struct Cleanup {
    const QByteArray& name;
    bool armed = true;
    ~Cleanup() {
      if (armed) ::unlink(name.constData());
    }
  } cleanup{temp};

  struct stat old {};
  if (::stat(target.constData(), &old) == 0) ::fchmod(fd.get(), old.st_mode & 07777);
  if (!WriteAll(fd.get(), content)) throw IniWriteError(path, ErrnoText("write"));
  if (::fsync(fd.get()) != 0) throw IniWriteError(path, ErrnoText("flush"));
  if (::close(fd.release()) != 0) throw IniWriteError(path, ErrnoText("close"));

  if (BeforeReplaceHook()) BeforeReplaceHook()(QFile::decodeName(temp));

  if (::rename(temp.constData(), target.constData()) != 0) throw IniWriteError(path, ErrnoText("rename"));
  cleanup.armed = false;

  // The rename itself is only durable once the folder's entry is on disk.
  const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
  Fd dir(::open(folder.constData(), O_RDONLY | O_DIRECTORY));
  if (dir.get() >= 0) ::fsync(dir.get());
}
