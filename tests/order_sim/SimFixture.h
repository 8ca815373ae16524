#pragma once
// A running order-sim with the demo shop, and requests to it over real TLS trusting its
// certificate.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "CurlClient.h"
#include "OrderSim.h"

class SimFixture : public ::testing::Test {
 protected:
  static ordersim::Options DemoOptions() {
    ordersim::Options options;
    options.demoShop = true;
    options.controlPort = 0;
    return options;
  }

  void SetUp() override { sim.start(); }

  std::string httpsUrl(const std::string& target) const {
    return "https://" + sim.httpsHost() + target;
  }
  std::string httpUrl(const std::string& target) const {
    return "http://" + sim.httpHost() + target;
  }
  std::string gqlUrl(const std::string& id = demo.id,
                     const std::string& auth = demo.authCode) const {
    return httpsUrl("/gql?id=" + id + "&auth_code=" + auth);
  }

  CurlReply post(const std::string& url, const std::string& body, bool chunked = true) const {
    CurlRequest request;
    request.url = url;
    request.body = body;
    request.chunked = chunked;
    request.caFile = sim.certPath();
    return Perform(request);
  }

  // Posts the document in the GraphQL envelope and parses the reply.
  nlohmann::json gql(const std::string& document, const std::string& id = demo.id,
                     const std::string& auth = demo.authCode) const {
    const CurlReply reply = post(gqlUrl(id, auth), nlohmann::json{{"query", document}}.dump());
    EXPECT_TRUE(reply.ok) << reply.error;
    EXPECT_EQ(reply.status, 200);
    return nlohmann::json::parse(reply.body, nullptr, false);
  }

  static inline const ordersim::Shop demo = ordersim::DemoShop();
  ordersim::OrderSim sim{DemoOptions()};
};
