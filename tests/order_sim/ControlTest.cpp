#include "SimFixture.h"

using nlohmann::json;

class ControlTest : public SimFixture {
 protected:
  CurlReply control(const std::string& method, const std::string& path,
                    const json& body = json::object()) {
    CurlRequest request;
    request.method = method;
    request.url = "http://127.0.0.1:" + std::to_string(sim.controlPort()) + path;
    request.body = body.dump();
    return Perform(request);
  }
};

TEST_F(ControlTest, PlacesOrdersSetsStatusAndFaults) {
  const CurlReply placed = control("POST", "/orders", {{"type", "TAKEOUT"}});
  ASSERT_EQ(placed.status, 200) << placed.body;
  const json order = json::parse(placed.body);
  EXPECT_EQ(order["order_type"], "TAKEOUT");
  EXPECT_EQ(order["shop"], demo.id);
  ASSERT_TRUE(sim.order(order["token"]));

  const CurlReply moved =
      control("POST", "/orders/status", {{"token", order["token"]}, {"status", "WORKING"}});
  EXPECT_EQ(json::parse(moved.body)["status"], "WORKING");
  EXPECT_EQ(sim.order(order["token"])->status, ordersim::OrderStatus::WORKING);

  EXPECT_EQ(control("POST", "/faults", {{"kind", "500"}, {"path", "/gql"}}).status, 200);
  EXPECT_EQ(post(gqlUrl(), "{}").status, 500);

  // Control traffic is neither recorded nor faulted; the service's is listed.
  const json requests = json::parse(control("GET", "/requests").body);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0]["target"], "/gql?id=" + demo.id + "&auth_code=" + demo.authCode);
  EXPECT_EQ(requests[0]["chunked"], true);
  EXPECT_EQ(requests[0]["body"], "{}");
}

TEST_F(ControlTest, BadControlRequestsSayWhy) {
  struct Case {
    const char* method;
    const char* path;
    json body;
    long status;
  };
  const Case cases[] = {
      {"POST", "/orders", {{"type", "BIKE"}}, 400},
      {"POST", "/orders", {{"shop", "nope"}}, 400},
      {"POST", "/orders/status", {{"token", "nope"}, {"status", "DONE"}}, 400},
      {"POST", "/orders/status", {{"token", "nope"}, {"status", "done"}}, 400},
      {"POST", "/faults", {{"kind", "explode"}}, 400},
      {"POST", "/faults", {{"kind", "slow"}, {"delay_ms", "5"}}, 400},
      {"GET", "/nothing", json::object(), 404},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.path) + " " + c.body.dump());
    const CurlReply reply = control(c.method, c.path, c.body);
    EXPECT_EQ(reply.status, c.status);
    EXPECT_TRUE(json::parse(reply.body)["error"].is_string());
  }
  EXPECT_TRUE(sim.orders(demo.id).empty());
}
