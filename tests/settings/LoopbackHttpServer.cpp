#include "LoopbackHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

LoopbackHttpServer::LoopbackHttpServer() {
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof addr;
  if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      ::listen(listener_, 16) != 0 || ::getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    if (listener_ >= 0) ::close(listener_);
    throw std::runtime_error("cannot listen on loopback");
  }
  port_ = ntohs(addr.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
  stop_ = true;
  thread_.join();
  ::close(listener_);
}

void LoopbackHttpServer::route(const QByteArray& target, const Reply& reply) {
  std::lock_guard lock(mutex_);
  routes_[target] = reply;
}

QList<QByteArray> LoopbackHttpServer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void LoopbackHttpServer::Serve() {
  while (!stop_) {
    pollfd p{listener_, POLLIN, 0};
    if (::poll(&p, 1, 50) <= 0) continue;
    const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    Answer(client);
    ::close(client);
  }
}

void LoopbackHttpServer::Answer(int client) {
  QByteArray request;
  char buf[4096];
  while (!request.contains("\r\n\r\n")) {
    pollfd p{client, POLLIN, 0};
    if (::poll(&p, 1, 2000) <= 0) return;
    const ssize_t n = ::read(client, buf, sizeof buf);
    if (n <= 0) return;
    request.append(buf, n);
  }
  const QByteArray target = request.left(request.indexOf("\r\n")).split(' ').value(1);
  Reply reply{404, "not here", {}};
  {
    std::lock_guard lock(mutex_);
    requests_.append(target);
    reply = routes_.value(target, reply);
  }
  QByteArray out = "HTTP/1.1 " + QByteArray::number(reply.status) + " Canned\r\nContent-Length: " +
                   QByteArray::number(reply.body.size()) + "\r\nConnection: close\r\n";
  for (const auto& [name, value] : reply.headers) out += name + ": " + value + "\r\n";
  out += "\r\n" + reply.body;
  for (qsizetype sent = 0; sent < out.size();) {
    const ssize_t n = ::send(client, out.constData() + sent, size_t(out.size() - sent), MSG_NOSIGNAL);
    if (n <= 0) return;
    sent += n;
  }
}
