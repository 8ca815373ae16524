// The transport's outcomes over real TLS: failures give an empty reply and one error line in
// each log, never an exception; the reply text survives whatever charset it declares.

#include <QElapsedTimer>

#include "ApiWorld.h"
#include "api/HttpsPost.h"
#include "api/ShopInfo.h"

namespace {

class HttpsPost : public ApiWorld {
 protected:
  QString url(const std::string& target = "/gql?id=101&auth_code=auth101") const {
    return QString::fromStdString("https://" + sim_.httpsHost() + target);
  }
  QString post(const QString& to) {
    QString reply = "stale";
    EXPECT_NO_THROW(HTTPS_POST(to, R"({"query": "{ shopOrderList(status: \"ORDER\") { totalCount } }" })",
                               reply));
    return reply;
  }
  void expectOneFailure(const QString& errorPart) {
    EXPECT_EQ(countStartingWith(debugLines(), "HTTPS_POST err : "), 1);
    EXPECT_EQ(countStartingWith(errorLogLines(), "HTTPS_POST err : "), 1);
    EXPECT_TRUE(errorLogLines().filter("HTTPS_POST err : ").join("").contains(errorPart, Qt::CaseInsensitive))
        << errorLogLines().join("\n").toStdString();
  }
};

}  // namespace

TEST_F(HttpsPost, SuccessLogsUrlInBothLogsAndReplyInDebugOnly) {
  const QString reply = post("  " + url() + " \t");
  EXPECT_EQ(reply, R"({"data":{"shopOrderList":{"totalCount":0}}})");
  const QString urlLine = "HTTPS_POST url : " + ("  " + url() + " \t");
  EXPECT_TRUE(debugLines().contains(urlLine));
  EXPECT_TRUE(errorLogLines().contains(urlLine));
  EXPECT_TRUE(debugLines().contains("HTTPS_POST respon : " + reply));
  EXPECT_EQ(countStartingWith(errorLogLines(), "HTTPS_POST respon"), 0);
  EXPECT_EQ(countStartingWith(debugLines(), "HTTPS_POST err"), 0);
}

TEST_F(HttpsPost, ServerErrorGivesEmptyReply) {
  failNext(ordersim::FaultKind::Status500);
  EXPECT_EQ(post(url()), "");
  expectOneFailure("500");
}

TEST_F(HttpsPost, ConnectionClosedWithoutReplyGivesEmptyReply) {
  failNext(ordersim::FaultKind::CloseConnection);
  EXPECT_EQ(post(url()), "");
  expectOneFailure("");
}

TEST_F(HttpsPost, UnreachableHostGivesEmptyReply) {
  EXPECT_EQ(post("https://127.0.0.1:1/gql"), "");
  expectOneFailure("connect");
}

TEST_F(HttpsPost, ReplyIsUtf8WhateverItsDeclaredCharset) {
  const std::string korean = R"({"msg":"주문이 접수되었습니다"})";
  replyNext(korean, 200, {{"Content-Type", "application/json; charset=euc-kr"}});
  EXPECT_EQ(post(url()), QString::fromUtf8(korean));
}

TEST_F(HttpsPost, RedirectIsFollowedWithTheSameBody) {
  replyNext("", 307, {{"Location", "/gql?id=101&auth_code=auth101"}});
  sim_.placeOrder("101", ordersim::SampleOrder(ordersim::OrderType::TAKEOUT));
  EXPECT_EQ(GetTotalCnt(session()), "1");
  const auto requests = sim_.requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].body, requests[0].body);
  EXPECT_EQ(requests[1].method, "POST");
}

TEST_F(HttpsPost, ReplySlowerThanFifteenSecondsFails) {
  failNext(ordersim::FaultKind::Slow, std::chrono::seconds(17));
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(post(url()), "");
  EXPECT_GE(clock.elapsed(), 14500);
  EXPECT_LT(clock.elapsed(), 16900);
  expectOneFailure("timed out");
}

TEST_F(HttpsPost, CertificateVerification) {
  struct Case {
    const char* name;
    Trust trust;
    bool accepted;
  } cases[] = {
      {"system store only refuses the self-signed certificate", {false, true}, false},
      {"CaFile pointing at it accepts it", {true, true}, true},
      {"VerifyTls=0 accepts anything", {false, false}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeServerIni(c.trust);
    EXPECT_EQ(post(url()).isEmpty(), !c.accepted);
  }
}

TEST_F(HttpsPost, UnreadableCaFileIsLoggedAndTrustsOnlyTheSystemStore) {
  data_.writeFile("server.ini", "[Server]\nCaFile=" + data_.file("missing.pem").toUtf8() + "\n");
  EXPECT_EQ(post(url()), "");
  EXPECT_EQ(countStartingWith(errorLogLines(), "HTTPS_POST CaFile cannot be read: "), 1);
  expectOneFailure("certificate");
}
