#include "NotificationHub.h"

#include <boost/asio/post.hpp>
#include <boost/beast/websocket.hpp>
#include <boost/beast/websocket/ssl.hpp>
#include <deque>

namespace ordersim {

namespace websocket = boost::beast::websocket;

// Lives on serve()'s stack; handlers posted to its context hold a plain pointer, which is safe
// because the context runs them only while serve() is inside io.run().
class NotificationHub::Channel {
 public:
  Channel(TlsStream& stream, net::io_context& io) : ws_(stream), io_(io) {}

  bool accept(const HttpRequest& request) {
    boost::system::error_code ec;
    ws_.set_option(websocket::stream_base::decorator([](websocket::response_type& response) {
      response.set(http::field::server, "order-sim");
    }));
    ws_.accept(request, ec);
    return !ec;
  }

  void run() {
    read();
    io_.run();
  }

  void post(std::string message) {
    net::post(io_, [this, message = std::move(message)]() mutable {
      queue_.push_back(std::move(message));
      if (queue_.size() == 1) write();
    });
  }

  void close() {
    net::post(io_, [this] {
      if (closing_) return;
      closing_ = true;
      ws_.async_close(websocket::close_code::going_away, [](boost::system::error_code) {});
    });
  }

 private:
  void read() {
    ws_.async_read(buffer_, [this](boost::system::error_code ec, std::size_t) {
      if (ec) return;  // closed by either side; the client's messages carry nothing we use
      buffer_.consume(buffer_.size());
      read();
    });
  }

  void write() {
    if (closing_) return;
    ws_.text(true);
    ws_.async_write(net::buffer(queue_.front()), [this](boost::system::error_code ec, std::size_t) {
      if (ec) {
        queue_.clear();
        return;
      }
      queue_.pop_front();
      if (!queue_.empty()) write();
    });
  }

  websocket::stream<TlsStream&> ws_;
  net::io_context& io_;
  boost::beast::flat_buffer buffer_;
  std::deque<std::string> queue_;
  bool closing_ = false;
};

void NotificationHub::serve(TlsStream& stream, HttpRequest request, net::io_context& io,
                            const std::string& shopId) {
  Channel channel(stream, io);
  if (!channel.accept(request)) return;
  std::multimap<std::string, Channel*>::iterator entry;
  {
    std::lock_guard lock(mutex_);
    entry = channels_.emplace(shopId, &channel);
  }
  channel.run();
  std::lock_guard lock(mutex_);
  channels_.erase(entry);
}

int NotificationHub::send(const std::string& shopId, const std::string& message) {
  std::lock_guard lock(mutex_);
  int reached = 0;
  for (auto [it, end] = channels_.equal_range(shopId); it != end; ++it, ++reached)
    it->second->post(message);
  return reached;
}

int NotificationHub::count(const std::string& shopId) const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(channels_.count(shopId));
}

void NotificationHub::drop(const std::string& shopId) {
  std::lock_guard lock(mutex_);
  for (auto [it, end] = channels_.equal_range(shopId); it != end; ++it) it->second->close();
}

}  // namespace ordersim
