#pragma once
// One listening socket serving HTTP/1.1, over TLS when given a context. Each connection runs on a
// thread of its own with blocking I/O; stop() shuts every socket down and joins the threads.

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ssl/context.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/http/message.hpp>
#include <boost/beast/http/string_body.hpp>
#include <boost/beast/ssl/ssl_stream.hpp>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace ordersim {

namespace net = boost::asio;
namespace http = boost::beast::http;
using tcp = net::ip::tcp;
using HttpRequest = http::request<http::string_body>;
using HttpResponse = http::response<http::string_body>;
using TlsStream = boost::beast::ssl_stream<tcp::socket>;

struct Incoming {
  bool tls = false;
  bool chunked = false;
  HttpRequest request;
};

// nullopt: close the connection without replying.
using HttpHandler = std::function<std::optional<HttpResponse>(const Incoming&)>;

// Takes over a TLS connection whose request asks for a WebSocket upgrade and returns when the
// channel ends. `io` is the connection's own context, free for asynchronous work.
using UpgradeHandler = std::function<void(TlsStream& stream, boost::beast::flat_buffer& buffer,
                                          HttpRequest request, net::io_context& io)>;

class HttpListener {
 public:
  HttpListener(net::ssl::context* tls, HttpHandler handler, UpgradeHandler upgrade = {});
  ~HttpListener();
  HttpListener(const HttpListener&) = delete;
  HttpListener& operator=(const HttpListener&) = delete;

  // Binds and starts accepting; throws boost::system::system_error when the port is taken.
  void start(const std::string& host, uint16_t port);
  void stop();
  uint16_t port() const { return port_; }

 private:
  struct Connection {
    net::io_context io;
    tcp::socket socket{io};
    int fd = -1;  // -1 once the connection thread no longer owns an open socket
    bool done = false;
    std::thread thread;
  };

  void acceptLoop();
  void run(Connection& connection);
  template <typename Stream>
  void serve(Stream& stream, bool tls, Connection& connection);
  void reapFinished();

  net::ssl::context* tls_;
  HttpHandler handler_;
  UpgradeHandler upgrade_;
  net::io_context io_;
  tcp::acceptor acceptor_{io_};
  uint16_t port_ = 0;
  std::thread acceptThread_;
  std::mutex mutex_;
  bool stopping_ = false;
  std::list<std::unique_ptr<Connection>> connections_;
};

}  // namespace ordersim
