#pragma once
// A small HTTP/1.1 server on 127.0.0.1 with canned replies, run on its own thread so a blocking
// client in the test's thread can reach it. Unknown targets get 404.

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>

#include <atomic>
#include <mutex>
#include <thread>

class LoopbackHttpServer {
 public:
  struct Reply {
    int status = 200;
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;
  };

  LoopbackHttpServer();
  ~LoopbackHttpServer();
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  quint16 port() const { return port_; }
  QString host() const { return QStringLiteral("127.0.0.1:%1").arg(port_); }
  QString url(const QString& target) const { return "http://" + host() + target; }

  void route(const QByteArray& target, const Reply& reply);
  QList<QByteArray> requests() const;  // request targets in arrival order

 private:
  void Serve();
  void Answer(int client);

  int listener_ = -1;
  quint16 port_ = 0;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  QMap<QByteArray, Reply> routes_;
  QList<QByteArray> requests_;
  std::thread thread_;
};
