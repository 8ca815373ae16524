#pragma once
// The shops' open notification channels (WebSocket over TLS). Each channel runs on its
// connection's thread; messages from any thread are handed to that thread and written in order.

#include <map>
#include <mutex>
#include <string>

#include "HttpListener.h"

namespace ordersim {

class NotificationHub {
 public:
  // Accepts the upgrade for `shopId` and returns when the channel has ended.
  void serve(TlsStream& stream, HttpRequest request, net::io_context& io,
             const std::string& shopId);

  int send(const std::string& shopId, const std::string& message);  // channels reached
  int count(const std::string& shopId) const;
  void drop(const std::string& shopId);  // server-side close handshake

 private:
  class Channel;
  mutable std::mutex mutex_;
  std::multimap<std::string, Channel*> channels_;  // registered only while their thread serves them
};

}  // namespace ordersim
