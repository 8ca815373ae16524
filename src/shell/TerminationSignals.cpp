#include "shell/TerminationSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <cerrno>
#include <unistd.h>

#include <stdexcept>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The write end, for the async-signal-safe handler: the only state a handler may reach.
volatile sig_atomic_t g_writeFd = -1;

void OnSignal(int sig) {
  const int saved = errno;
  const char byte = static_cast<char>(sig);
  if (g_writeFd >= 0) {
    const ssize_t written = write(g_writeFd, &byte, 1);  // a full pipe already holds a wake-up
    static_cast<void>(written);
  }
  errno = saved;
}

void SetHandler(void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int sig : kSignals) sigaction(sig, &action, nullptr);
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void()> onTerminate, QObject* parent)
    : QObject(parent), onTerminate_(std::move(onTerminate)) {
  if (pipe2(fds_, O_CLOEXEC | O_NONBLOCK) != 0) throw std::runtime_error("pipe2 failed");
  g_writeFd = fds_[1];
  notifier_ = std::make_unique<QSocketNotifier>(fds_[0], QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, &TerminationSignals::Drain);
  SetHandler(OnSignal);
}

TerminationSignals::~TerminationSignals() {
  SetHandler(SIG_DFL);
  g_writeFd = -1;
  notifier_.reset();
  close(fds_[0]);
  close(fds_[1]);
}

void TerminationSignals::Drain() {
  char buffer[16];
  bool any = false;
  while (read(fds_[0], buffer, sizeof buffer) > 0) any = true;
  if (any && onTerminate_) onTerminate_();
}
