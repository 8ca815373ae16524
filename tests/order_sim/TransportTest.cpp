#include <atomic>
#include <chrono>
#include <thread>

#include "SimFixture.h"

using nlohmann::json;
using ordersim::Fault;
using ordersim::FaultKind;

class TransportTest : public SimFixture {};

TEST_F(TransportTest, CertificateIsTrustedOnlyWhenNamed) {
  for (const std::string host : {"127.0.0.1", "localhost"}) {
    SCOPED_TRACE(host);
    CurlRequest request;
    request.method = "GET";
    request.url =
        "https://" + host + ":" + std::to_string(sim.httpsPort()) + "/ver.html?name=TalvenOrder";
    const CurlReply untrusted = Perform(request);
    EXPECT_FALSE(untrusted.ok);
    EXPECT_EQ(untrusted.status, 0);

    request.caFile = sim.certPath();
    const CurlReply trusted = Perform(request);
    EXPECT_TRUE(trusted.ok) << trusted.error;
    EXPECT_EQ(trusted.status, 200);
  }
}

TEST_F(TransportTest, RecordsEachRequestAsSent) {
  const std::string body = R"({"phone":"010-1111-2222"})";
  post(httpsUrl("/shops/login_sms_send"), body, true);
  post(httpsUrl("/shops/login_sms_send"), body, false);

  const auto requests = sim.requests();
  ASSERT_EQ(requests.size(), 2u);
  for (const auto& r : requests) {
    EXPECT_TRUE(r.tls);
    EXPECT_EQ(r.method, "POST");
    EXPECT_EQ(r.target, "/shops/login_sms_send");
    EXPECT_EQ(r.path, "/shops/login_sms_send");
    EXPECT_EQ(r.header("content-type"), "application/json");
    EXPECT_EQ(r.body, body);
  }
  EXPECT_TRUE(requests[0].chunked);
  EXPECT_EQ(requests[0].header("Transfer-Encoding"), "chunked");
  EXPECT_FALSE(requests[1].chunked);
  EXPECT_EQ(requests[1].header("Content-Length"), std::to_string(body.size()));

  post(gqlUrl("1001", "a%26b"), "{}");
  const auto gqlRequest = sim.requests().back();
  EXPECT_EQ(gqlRequest.query, "id=1001&auth_code=a%26b");
  EXPECT_EQ(gqlRequest.queryParam("auth_code"), "a%26b");
  EXPECT_EQ(gqlRequest.queryParam("missing"), std::nullopt);
}

TEST_F(TransportTest, InjectedFaults) {
  const std::string shopDoc = json{{"query", "{ shop(shopId: 1001) { name } }"}}.dump();
  struct Case {
    FaultKind kind;
    bool transferOk;
    long status;
    bool bodyIsJson;
  };
  const Case cases[] = {
      {FaultKind::Status500, true, 500, false},
      {FaultKind::Malformed, true, 200, false},
      {FaultKind::GraphqlErrors, true, 200, true},
      {FaultKind::CloseConnection, false, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    Fault fault;
    fault.kind = c.kind;
    fault.pathPrefix = "/gql";
    sim.failNext(fault);
    post(httpsUrl("/shops/login_sms_send"), "{}");  // another path: untouched
    const CurlReply faulty = post(gqlUrl(), shopDoc);
    EXPECT_EQ(faulty.ok, c.transferOk) << faulty.error;
    if (c.transferOk) {
      EXPECT_EQ(faulty.status, c.status);
    }
    const json parsed = json::parse(faulty.body, nullptr, false);
    EXPECT_EQ(!parsed.is_discarded(), c.bodyIsJson) << faulty.body;
    if (c.kind == FaultKind::GraphqlErrors) {
      EXPECT_TRUE(parsed["errors"].is_array());
    }

    const CurlReply next = post(gqlUrl(), shopDoc);  // the fault is used up
    EXPECT_EQ(json::parse(next.body)["data"]["shop"]["name"], demo.name);
  }
}

TEST_F(TransportTest, SlowReplyWaitsAndCountsDown) {
  Fault slow;
  slow.kind = FaultKind::Slow;
  slow.count = 2;
  slow.delay = std::chrono::milliseconds(300);
  sim.failNext(slow);
  for (int i = 0; i < 3; ++i) {
    const auto start = std::chrono::steady_clock::now();
    const CurlReply reply = post(httpsUrl("/shops/login_sms_send"), R"({"phone":"010-1111-2222"})");
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(reply.ok);
    EXPECT_EQ(json::parse(reply.body)["result"], true);
    if (i < 2)
      EXPECT_GE(took, std::chrono::milliseconds(300));
    else
      EXPECT_LT(took, std::chrono::milliseconds(300));
  }
}

TEST_F(TransportTest, StopEndsASlowReplyAtOnce) {
  Fault slow;
  slow.kind = FaultKind::Slow;
  slow.delay = std::chrono::seconds(60);
  sim.failNext(slow);
  std::thread client([this] {
    const CurlReply reply = post(httpsUrl("/shops/login_sms_send"), "{}");
    EXPECT_FALSE(reply.ok);
  });
  while (sim.requests().empty()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  const auto start = std::chrono::steady_clock::now();
  sim.stop();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  client.join();
}

TEST_F(TransportTest, CannedRedirectIsFollowedToTheRealReply) {
  Fault redirect;
  redirect.kind = FaultKind::Canned;
  redirect.canned.status = 307;
  redirect.canned.headers = {{"Location", "/gql?id=" + demo.id + "&auth_code=" + demo.authCode}};
  sim.failNext(redirect);

  CurlRequest request;
  request.url = httpsUrl("/moved");
  request.body = json{{"query", "{ shop(shopId: 1001) { tel } }"}}.dump();
  request.caFile = sim.certPath();
  request.followRedirects = true;
  const CurlReply reply = Perform(request);
  ASSERT_TRUE(reply.ok) << reply.error;
  EXPECT_EQ(json::parse(reply.body)["data"]["shop"]["tel"], demo.tel);
  const auto requests = sim.requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].path, "/gql");
  EXPECT_EQ(requests[1].body, request.body);
}

TEST_F(TransportTest, CannedReplyKeepsItsDeclaredCharset) {
  Fault canned;
  canned.kind = FaultKind::Canned;
  canned.canned.headers = {{"Content-Type", "application/json; charset=euc-kr"}};
  canned.canned.body = R"({"data":{"shop":{"name":"한빛"}}})";
  sim.failNext(canned);
  const CurlReply reply = post(gqlUrl(), "{}");
  EXPECT_EQ(reply.contentType, "application/json; charset=euc-kr");
  EXPECT_EQ(reply.body, canned.canned.body);
}

TEST_F(TransportTest, PlainHttpServesVersionPageInstallerAndReports) {
  ordersim::Release release;
  release.version = "1.0.0.9";
  release.installer = "MZ fake installer";
  sim.setRelease(release);

  CurlRequest get;
  get.method = "GET";
  get.url = httpUrl("/ver.html?name=TalvenOrder");
  const CurlReply page = Perform(get);
  ASSERT_EQ(page.status, 200);
  const std::string download = "http://" + sim.httpHost() + "/download/TalvenOrderSetup.exe";
  EXPECT_EQ(page.body,
            "Version=1.0.0.9\r\nDownload=" + download +
                "\r\nHash=8406ab435aa5cfe12c8f2c6eaaa8b138\r\nFileSize=17\r\nExecOption=/S\r\n");

  get.url = download;
  EXPECT_EQ(Perform(get).body, release.installer);
  get.url = httpUrl("/ver.html?name=Other");
  EXPECT_EQ(Perform(get).status, 404);

  CurlRequest report;
  report.url = httpUrl("/api/android_exception_api/log_write.php");
  report.headers = {"Content-Type: application/x-www-form-urlencoded"};
  report.body =
      "package=TalvenOrder&version=%20Ver%201.0.0.1&device=wvUnknown&env=OS+%3A+x&log=%ED%95%9C+a%"
      "26b";
  EXPECT_EQ(Perform(report).status, 200);
  const auto reports = sim.errorReports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].body, report.body);
  EXPECT_EQ(reports[0].fields.at("version"), " Ver 1.0.0.1");
  EXPECT_EQ(reports[0].fields.at("env"), "OS : x");
  EXPECT_EQ(reports[0].fields.at("log"), "한 a&b");
  EXPECT_FALSE(sim.requests().back().tls);
}

TEST_F(TransportTest, ParallelClientsWhileOrdersArrive) {
  const std::string countDoc =
      json{{"query", R"({ shopOrderList(status: "ORDER") { totalCount } })"}}.dump();
  std::vector<std::thread> clients;
  std::atomic<int> good{0};
  for (int t = 0; t < 6; ++t)
    clients.emplace_back([&] {
      for (int i = 0; i < 5; ++i) {
        const json reply = json::parse(post(gqlUrl(), countDoc).body, nullptr, false);
        if (!reply.is_discarded() && reply["data"]["shopOrderList"]["totalCount"].is_number())
          ++good;
      }
    });
  for (int i = 0; i < 10; ++i)
    sim.placeOrder(demo.id, ordersim::SampleOrder(ordersim::OrderType::SHOP));
  for (auto& client : clients) client.join();
  EXPECT_EQ(good, 30);
  EXPECT_EQ(sim.requests().size(), 30u);
  EXPECT_EQ(gql(R"({ shopOrderList(status: "ORDER") { totalCount } })")["data"]["shopOrderList"]
                                                                       ["totalCount"],
            10);
}
