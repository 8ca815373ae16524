#include "LoopbackHttpServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpSocket>

#include <memory>

LoopbackHttpServer::LoopbackHttpServer(Reply reply) : reply_(reply) {
  server_.listen(QHostAddress::LocalHost, 0);
  QObject::connect(&server_, &QTcpServer::newConnection, [this] {
    while (QTcpSocket* socket = server_.nextPendingConnection()) serve(socket);
  });
}

void LoopbackHttpServer::serve(QTcpSocket* socket) {
  auto buffer = std::make_shared<QByteArray>();
  QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
  QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
    *buffer += socket->readAll();
    const qsizetype headEnd = buffer->indexOf("\r\n\r\n");
    if (headEnd < 0) return;
    const QByteArray head = buffer->left(headEnd);
    qsizetype length = 0;
    for (const QByteArray& line : head.split('\n'))
      if (line.toLower().startsWith("content-length:")) length = line.mid(15).trimmed().toLongLong();
    if (buffer->size() < headEnd + 4 + length) return;
    requests_.append({head, buffer->mid(headEnd + 4, length)});
    if (reply_ == Reply::Silent) return;
    const QByteArray status = reply_ == Reply::Ok ? "200 OK" : "500 Internal Server Error";
    socket->write("HTTP/1.1 " + status + "\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok");
    socket->disconnectFromHost();
  });
}

bool LoopbackHttpServer::runUntil(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < timeoutMs) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}
