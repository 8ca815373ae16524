#pragma once
// A one-request-at-a-time HTTP server on 127.0.0.1 for the report tests. It lives on the test's
// thread, so the code under test must run on another thread while runUntil() pumps events.

#include <QByteArray>
#include <QList>
#include <QTcpServer>

#include <functional>

class LoopbackHttpServer {
 public:
  enum class Reply { Ok, ServerError, Silent };

  struct Request {
    QByteArray head;  // request line and headers
    QByteArray body;
  };

  explicit LoopbackHttpServer(Reply reply = Reply::Ok);
  quint16 port() const { return server_.serverPort(); }
  const QList<Request>& requests() const { return requests_; }

  // Pumps events until done() is true or the time runs out; returns done().
  static bool runUntil(const std::function<bool()>& done, int timeoutMs);

 private:
  void serve(QTcpSocket* socket);

  QTcpServer server_;
  Reply reply_;
  QList<Request> requests_;
};
