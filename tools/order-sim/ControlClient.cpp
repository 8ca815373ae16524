#include "ControlClient.h"

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/http.hpp>

namespace ordersim {

namespace net = boost::asio;
namespace http = boost::beast::http;

ControlReply CallControl(uint16_t port, const std::string& method, const std::string& path,
                         const std::string& jsonBody) {
  ControlReply reply;
  try {
    net::io_context io;
    net::ip::tcp::socket socket(io);
    socket.connect({net::ip::make_address("127.0.0.1"), port});
    http::request<http::string_body> request{http::string_to_verb(method), path, 11};
    request.set(http::field::host, "127.0.0.1:" + std::to_string(port));
    request.set(http::field::content_type, "application/json");
    request.set(http::field::connection, "close");
    request.body() = jsonBody;
    request.prepare_payload();
    http::write(socket, request);
    boost::beast::flat_buffer buffer;
    http::response<http::string_body> response;
    http::read(socket, buffer, response);
    reply.status = static_cast<int>(response.result_int());
    reply.body = std::move(response.body());
  } catch (const boost::system::system_error& e) {
    reply.error = "control port " + std::to_string(port) + ": " + e.code().message();
  }
  return reply;
}

}  // namespace ordersim
