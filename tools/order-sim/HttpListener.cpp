#include "HttpListener.h"

#include <sys/socket.h>

#include <boost/beast/http/empty_body.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/write.hpp>
#include <boost/beast/websocket/rfc6455.hpp>

namespace ordersim {

namespace beast = boost::beast;

namespace {
constexpr std::uint64_t kBodyLimit = 16 * 1024 * 1024;
}

HttpListener::HttpListener(net::ssl::context* tls, HttpHandler handler, UpgradeHandler upgrade)
    : tls_(tls), handler_(std::move(handler)), upgrade_(std::move(upgrade)) {}

HttpListener::~HttpListener() { stop(); }

void HttpListener::start(const std::string& host, uint16_t port) {
  const tcp::endpoint endpoint(net::ip::make_address(host), port);
  acceptor_.open(endpoint.protocol());
  acceptor_.set_option(tcp::acceptor::reuse_address(true));
  acceptor_.bind(endpoint);
  acceptor_.listen();
  port_ = acceptor_.local_endpoint().port();
  acceptThread_ = std::thread([this] { acceptLoop(); });
}

void HttpListener::stop() {
  {
    std::lock_guard lock(mutex_);
    if (stopping_) return;
    stopping_ = true;
    // shutdown() wakes a thread blocked in accept() or recv() on Linux; close() would not.
    if (acceptor_.is_open()) ::shutdown(acceptor_.native_handle(), SHUT_RDWR);
    for (auto& connection : connections_) {
      if (connection->fd >= 0) ::shutdown(connection->fd, SHUT_RDWR);
      connection->io.stop();
    }
  }
  if (acceptThread_.joinable()) acceptThread_.join();
  boost::system::error_code ignored;
  acceptor_.close(ignored);
  for (auto& connection : connections_)
    if (connection->thread.joinable()) connection->thread.join();
  connections_.clear();
}

void HttpListener::acceptLoop() {
  for (;;) {
    auto connection = std::make_unique<Connection>();
    boost::system::error_code ec;
    acceptor_.accept(connection->socket, ec);
    std::lock_guard lock(mutex_);
    if (stopping_) return;
    reapFinished();
    if (ec) continue;
    connection->fd = connection->socket.native_handle();
    Connection& c = *connection;
    connections_.push_back(std::move(connection));
    c.thread = std::thread([this, &c] { run(c); });
  }
}

void HttpListener::reapFinished() {
  for (auto it = connections_.begin(); it != connections_.end();) {
    if ((*it)->done) {
      (*it)->thread.join();
      it = connections_.erase(it);
    } else {
      ++it;
    }
  }
}

void HttpListener::run(Connection& connection) {
  tcp::socket& socket = connection.socket;
  if (tls_) {
    TlsStream stream(std::move(socket), *tls_);
    boost::system::error_code ec;
    stream.handshake(net::ssl::stream_base::server, ec);
    if (!ec) serve(stream, true, connection);
    {
      std::lock_guard lock(mutex_);
      connection.fd = -1;
    }
    beast::get_lowest_layer(stream).close(ec);
  } else {
    serve(socket, false, connection);
    std::lock_guard lock(mutex_);
    connection.fd = -1;
    boost::system::error_code ec;
    socket.close(ec);
  }
  std::lock_guard lock(mutex_);
  connection.done = true;
}

template <typename Stream>
void HttpListener::serve(Stream& stream, bool tls, Connection& connection) {
  beast::flat_buffer buffer;
  for (;;) {
    boost::system::error_code ec;
    http::request_parser<http::string_body> parser;
    parser.body_limit(kBodyLimit);
    http::read_header(stream, buffer, parser, ec);
    if (ec) return;

    if constexpr (std::is_same_v<Stream, TlsStream>) {
      if (upgrade_ && beast::websocket::is_upgrade(parser.get())) {
        upgrade_(stream, buffer, parser.release(), connection.io);
        return;
      }
    }
    // Clients that ask first (curl does for chunked uploads) would otherwise wait a second.
    const auto expect = parser.get()[http::field::expect];
    if (beast::iequals(expect, "100-continue")) {
      http::response<http::empty_body> goOn{http::status::continue_, 11};
      http::write(stream, goOn, ec);
      if (ec) return;
    }

    Incoming incoming;
    incoming.tls = tls;
    incoming.chunked = parser.chunked();
    http::read(stream, buffer, parser, ec);
    if (ec) {
      if (ec == http::error::body_limit) {
        HttpResponse tooLarge{http::status::payload_too_large, 11};
        tooLarge.set(http::field::connection, "close");
        tooLarge.prepare_payload();
        http::write(stream, tooLarge, ec);
      }
      return;
    }
    incoming.request = parser.release();
    std::optional<HttpResponse> response = handler_(incoming);
    if (!response) return;
    response->version(11);
    response->keep_alive(incoming.request.keep_alive());
    response->prepare_payload();
    http::write(stream, *response, ec);
    if (ec || !response->keep_alive()) return;
  }
}

}  // namespace ordersim
