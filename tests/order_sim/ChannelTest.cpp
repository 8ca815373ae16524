#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ssl.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/ssl.hpp>
#include <boost/beast/websocket.hpp>
#include <boost/beast/websocket/ssl.hpp>
#include <chrono>
#include <thread>

#include "SimFixture.h"

namespace net = boost::asio;
namespace beast = boost::beast;
namespace websocket = beast::websocket;
using nlohmann::json;

namespace {

// A blocking wss client trusting the simulator's certificate.
class ChannelClient {
 public:
  ChannelClient(const std::string& certPath, uint16_t port) : ws_(io_, tls_) {
    tls_.load_verify_file(certPath);
    tls_.set_verify_mode(net::ssl::verify_peer);
    net::connect(beast::get_lowest_layer(ws_),
                 net::ip::tcp::resolver(io_).resolve("127.0.0.1", std::to_string(port)));
    ws_.next_layer().handshake(net::ssl::stream_base::client);
  }
  void open(const std::string& target) { ws_.handshake("127.0.0.1", target); }
  std::string read() {
    beast::flat_buffer buffer;
    ws_.read(buffer);
    return beast::buffers_to_string(buffer.data());
  }

 private:
  net::io_context io_;
  net::ssl::context tls_{net::ssl::context::tls_client};
  websocket::stream<beast::ssl_stream<net::ip::tcp::socket>> ws_;
};

void WaitForChannels(const ordersim::OrderSim& sim, const std::string& shopId, int n) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (sim.openChannels(shopId) != n && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_EQ(sim.openChannels(shopId), n);
}

}  // namespace

class ChannelTest : public SimFixture {
 protected:
  std::string channelPath() const { return "/ws/shop/" + demo.id + "/" + demo.authCode + "/"; }
};

TEST_F(ChannelTest, OrdersAndStatusChangesArriveInOrder) {
  ChannelClient client(sim.certPath(), sim.httpsPort());
  client.open(channelPath());
  WaitForChannels(sim, demo.id, 1);

  const auto placed = sim.placeOrder(demo.id, ordersim::SampleOrder(ordersim::OrderType::TAKEOUT));
  sim.setStatus(placed.token, ordersim::OrderStatus::WORKING);
  EXPECT_EQ(
      sim.notify(demo.id, R"({"token":"t1","status":"ORDER","type":"direct","order_type":"SHOP"})"),
      1);

  const json first = json::parse(client.read());
  EXPECT_EQ(first["token"], placed.token);
  EXPECT_EQ(first["status"], "ORDER");
  EXPECT_EQ(first["type"], "order");
  EXPECT_EQ(first["order_type"], "TAKEOUT");
  EXPECT_EQ(json::parse(client.read())["status"], "WORKING");
  EXPECT_EQ(json::parse(client.read())["type"], "direct");
  EXPECT_EQ(sim.requests().back().target, channelPath());
}

TEST_F(ChannelTest, WrongKeysAreRefused) {
  const std::string targets[] = {"/ws/shop/" + demo.id + "/wrong/", "/ws/shop/" + demo.id + "/",
                                 "/ws/shop/" + demo.id + "/" + demo.authCode, "/ws/other/"};
  for (const std::string& target : targets) {
    SCOPED_TRACE(target);
    ChannelClient client(sim.certPath(), sim.httpsPort());
    EXPECT_THROW(client.open(target), boost::system::system_error);
  }
  EXPECT_EQ(sim.openChannels(demo.id), 0);
}

TEST_F(ChannelTest, DropClosesFromTheServerSide) {
  ChannelClient client(sim.certPath(), sim.httpsPort());
  client.open(channelPath());
  WaitForChannels(sim, demo.id, 1);
  sim.dropChannels(demo.id);
  try {
    client.read();
    ADD_FAILURE() << "a message instead of the close";
  } catch (const boost::system::system_error& e) {
    EXPECT_EQ(e.code(), websocket::error::closed);
  }
  WaitForChannels(sim, demo.id, 0);
  EXPECT_EQ(sim.notify(demo.id, "{}"), 0);
}

TEST_F(ChannelTest, StopEndsOpenChannels) {
  ChannelClient client(sim.certPath(), sim.httpsPort());
  client.open(channelPath());
  WaitForChannels(sim, demo.id, 1);
  sim.stop();
  EXPECT_THROW(client.read(), boost::system::system_error);
}
