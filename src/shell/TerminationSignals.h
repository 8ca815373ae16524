#pragma once
// SIGTERM, SIGINT and SIGHUP (session end, Ctrl+C, a closed terminal) take the client's own
// exit path, so ports close and the single-instance name is given up. The signal handler only
// writes to a pipe; the callback runs later on the user-interface thread.

#include <QObject>
#include <QSocketNotifier>

#include <functional>
#include <memory>

class TerminationSignals : public QObject {
  Q_OBJECT

 public:
  // Installs the handlers for this object's lifetime; only one such object may exist.
  explicit TerminationSignals(std::function<void()> onTerminate, QObject* parent = nullptr);
  ~TerminationSignals() override;
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

 private:
  void Drain();

  std::function<void()> onTerminate_;
  int fds_[2] = {-1, -1};
  std::unique_ptr<QSocketNotifier> notifier_;
};
