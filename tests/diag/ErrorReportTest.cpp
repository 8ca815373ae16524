#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>

#include <future>

#include "LoopbackHttpServer.h"
#include "support/TempDataFolder.h"
#include "diag/Clock.h"
#include "diag/ErrorReport.h"
#include "diag/FormPost.h"
#include "diag/TErrorManager.h"

namespace {

QString formValue(const QByteArray& raw) {
  return QString::fromUtf8(QByteArray::fromPercentEncoding(QByteArray(raw).replace('+', ' ')));
}

class ErrorReport : public testing::Test {
 protected:
  ErrorReport() {
    TErrorManager::UseErrorManager();
    TErrorManager::SetAppName("TalvenOrder");
    TErrorManager::SetPath(home_.dataFolder() + "/log/");
    diag::SetClockForTests([] { return QDateTime(QDate(2026, 4, 7), QTime(9, 8, 7)); });
  }
  ~ErrorReport() override {
    TErrorManager::ResetForTests();
    diag::SetClockForTests({});
  }

  static QString urlOf(quint16 port) {
    return QStringLiteral("http://127.0.0.1:%1/api/android_exception_api/log_write.php").arg(port);
  }
  // Send blocks its thread for the exchange; the server needs this thread's events meanwhile.
  static void sendWhileServing(const QString& report) {
    auto done = std::async(std::launch::async, [report] { TErrorManager::Send(report); });
    ASSERT_TRUE(LoopbackHttpServer::runUntil(
        [&] { return done.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 15000));
    EXPECT_NO_THROW(done.get());
  }
  QByteArray todaysLog() const { return home_.readFile("log/20260407.log"); }

  TempDataFolder home_;
};

TEST_F(ErrorReport, PostsFiveFieldsInOrderThenLogs) {
  LoopbackHttpServer server;
  TErrorManager::SetURL(urlOf(server.port()));
  sendWhileServing("\r\nShopId : 42\r\nException EAccessViolation: boom & more\r\n");

  ASSERT_EQ(server.requests().size(), 1);
  const auto& request = server.requests().front();
  EXPECT_TRUE(request.head.startsWith("POST /api/android_exception_api/log_write.php HTTP/1.1\r\n"));
  EXPECT_TRUE(request.head.toLower().contains("content-type: application/x-www-form-urlencoded"));

  const QList<QByteArray> pairs = request.body.split('&');
  ASSERT_EQ(pairs.size(), 5) << request.body.constData();
  QStringList names, values;
  for (const QByteArray& pair : pairs) {
    names << QString::fromLatin1(pair.left(pair.indexOf('=')));
    values << formValue(pair.mid(pair.indexOf('=') + 1));
  }
  EXPECT_EQ(names, QStringList({"package", "version", "device", "env", "log"}));
  EXPECT_TRUE(pairs[1].startsWith("version=+Ver+")) << pairs[1].constData();  // the blank goes encoded
  EXPECT_EQ(values[0], "TalvenOrder");
  EXPECT_EQ(values[1], QStringLiteral(" Ver ") + TALVEN_VERSION_TEXT);
  EXPECT_EQ(values[2], "wvUnknown");
  EXPECT_TRUE(values[3].startsWith("OS : ")) << values[3].toStdString();
  EXPECT_TRUE(values[3].contains(" / Total Virtual : "));
  EXPECT_EQ(values[4], "ShopId : 42\r\nException EAccessViolation: boom & more");

  EXPECT_EQ(todaysLog(), "09:08:07 >> [SendError]\r\nShopId : 42\r\nException EAccessViolation: boom & more\r\n");
}

TEST_F(ErrorReport, FailedPostsLogNothing) {
  LoopbackHttpServer refusing(LoopbackHttpServer::Reply::ServerError);
  quint16 closedPort = 0;
  {
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    closedPort = probe.serverPort();
  }
  const QString urls[] = {urlOf(refusing.port()), urlOf(closedPort), "not a url", ""};
  for (const QString& url : urls) {
    TErrorManager::SetURL(url);
    QElapsedTimer timer;
    timer.start();
    sendWhileServing("report");
    EXPECT_LT(timer.elapsed(), 5000) << url.toStdString();
  }
  EXPECT_EQ(refusing.requests().size(), 1);
  EXPECT_TRUE(todaysLog().isEmpty());
}

TEST_F(ErrorReport, UnwritableLogAfterPostIsDropped) {
  LoopbackHttpServer server;
  TErrorManager::SetURL(urlOf(server.port()));
  home_.writeFile("blocker", "a file where the log folder should be");
  TErrorManager::SetPath(home_.file("blocker") + "/");
  sendWhileServing("report");
  EXPECT_EQ(server.requests().size(), 1);
}

TEST_F(ErrorReport, HangingEndpointTimesOut) {
  LoopbackHttpServer silent(LoopbackHttpServer::Reply::Silent);
  QElapsedTimer timer;
  timer.start();
  auto posted = std::async(std::launch::async, [&] {
    return PostForm(urlOf(silent.port()), {{"log", "x"}}, std::chrono::milliseconds(300));
  });
  ASSERT_TRUE(LoopbackHttpServer::runUntil(
      [&] { return posted.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 5000));
  EXPECT_FALSE(posted.get());
  EXPECT_LT(timer.elapsed(), 3000);
  EXPECT_EQ(silent.requests().size(), 1);
}

TEST_F(ErrorReport, NothingWithoutManager) {
  LoopbackHttpServer server;
  TErrorManager::SetURL(urlOf(server.port()));
  TErrorManager::ResetForTests();
  sendWhileServing("report");
  LoopbackHttpServer::runUntil([] { return false; }, 100);
  EXPECT_TRUE(server.requests().isEmpty());
}

TEST(FormUrlEncode, WebFormEncoding) {
  struct Case {
    const char* value;
    const char* encoded;
  };
  const Case cases[] = {
      {"plain-._*09AZaz", "plain-._*09AZaz"},
      {" Ver 1.0", "+Ver+1.0"},
      {"a+b&c=d%", "a%2Bb%26c%3Dd%25"},
      {"line\r\nnext", "line%0D%0Anext"},
      {"가", "%EA%B0%80"},
      {"~/", "%7E%2F"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormUrlEncode({{"k", QString::fromUtf8(c.value)}}), QByteArray("k=") + c.encoded) << c.value;
  EXPECT_EQ(FormUrlEncode({{"a", "1"}, {"b", ""}}), "a=1&b=");
}

TEST(EnvironmentText, LayoutWithEmptyServicePack) {
  platform::SystemFacts facts;
  facts.productName = "Debian GNU/Linux 12 (bookworm)";
  facts.ipv4 = "192.168.0.7";
  facts.availablePhysical = 1.52 * 1073741824;
  facts.totalPhysical = 8.0 * 1073741824;
  facts.availableVirtual = 812.4 * 1048576;
  facts.totalVirtual = 1024;
  EXPECT_EQ(EnvironmentText(facts),
            "OS : Debian GNU/Linux 12 (bookworm)  / IP : 192.168.0.7 / Free Physical : 1.52GB"
            " / Free Virtual : 812.40MB / Total Physical : 8GB / Total Virtual : 1KB");
}

TEST(SystemFacts, ParsersTolerateOddInput) {
  struct NameCase {
    const char* osRelease;
    const char* name;
  };
  const NameCase names[] = {
      {"NAME=\"Debian\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n", "Debian GNU/Linux 12 (bookworm)"},
      {"PRETTY_NAME='Single quoted'", "Single quoted"},
      {"PRETTY_NAME=Bare", "Bare"},
      {"PRETTY_NAME=\"Say \\\"hi\\\"\"", "Say \"hi\""},
      {"PRETTY_NAME=\"unterminated", "\"unterminated"},
      {"NAME=x\n", ""},
      {"", ""},
  };
  for (const auto& c : names) EXPECT_EQ(platform::PrettyNameOf(c.osRelease), QString::fromUtf8(c.name)) << c.osRelease;

  const QByteArray meminfo = "MemTotal:       16318016 kB\nMemFree: 1 kB\nMemAvailable:   bad kB\nVmSize:\t 2048 kB\n";
  EXPECT_EQ(platform::KibibyteField(meminfo, "MemTotal"), 16318016.0 * 1024);
  EXPECT_EQ(platform::KibibyteField(meminfo, "MemAvailable"), 0);
  EXPECT_EQ(platform::KibibyteField(meminfo, "Missing"), 0);
  EXPECT_EQ(platform::KibibyteField(meminfo, "VmSize"), 2048.0 * 1024);
  EXPECT_EQ(platform::KibibyteField(meminfo, "Mem"), 0);  // whole keys only
}

TEST(SystemFacts, ThisMachine) {
  const platform::SystemFacts facts = platform::CollectSystemFacts();
  EXPECT_FALSE(facts.productName.isEmpty());
  EXPECT_TRUE(facts.servicePack.isEmpty());
  EXPECT_GT(facts.totalPhysical, 0);
  EXPECT_GT(facts.availablePhysical, 0);
  EXPECT_LE(facts.availablePhysical, facts.totalPhysical);
  EXPECT_GT(facts.availableVirtual, 0);
  EXPECT_LT(facts.availableVirtual, facts.totalVirtual);
}

}  // namespace
