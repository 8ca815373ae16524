#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <nlohmann/json.hpp>

using nlohmann::json;

namespace {

const QString kProgram = QStringLiteral(TALVEN_BIN_DIR "/order-sim");

// Runs a subcommand to its end; gives its standard output, or fails the test.
std::string RunCommand(const QStringList& arguments, int expectedExit = 0) {
  QProcess process;
  process.start(kProgram, arguments);
  EXPECT_TRUE(process.waitForFinished(10000));
  EXPECT_EQ(process.exitCode(), expectedExit) << process.readAllStandardError().toStdString();
  return process.readAllStandardOutput().toStdString();
}

}  // namespace

TEST(CommandLine, ServeWritesStateAndObeysSubcommands) {
  QTemporaryDir dir;
  const QString statePath = dir.filePath("state.json");
  QProcess serve;
  serve.start(kProgram, {"serve", "--state", statePath, "--sms-code", "4321", "--https-port", "0",
                         "--http-port", "0", "--control-port", "0", "--cert-dir", dir.path()});
  ASSERT_TRUE(serve.waitForStarted());
  QElapsedTimer waited;
  waited.start();
  while (!QFile::exists(statePath) && waited.elapsed() < 10000) QThread::msleep(20);
  QFile file(statePath);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << serve.readAllStandardError().toStdString();
  const json state = json::parse(file.readAll().toStdString());
  EXPECT_EQ(state["sms_code"], "4321");
  EXPECT_EQ(state["phone"], "010-1111-2222");
  EXPECT_EQ(state["cert"], dir.filePath("order-sim-cert.pem").toStdString());
  EXPECT_EQ(state["order_host"], "127.0.0.1:" + std::to_string(state["https_port"].get<int>()));
  const QString control = QString::number(state["control_port"].get<int>());

  const json placed =
      json::parse(RunCommand({"place-order", "--control", control, "--type", "SHOP"}));
  EXPECT_EQ(placed["order_type"], "SHOP");
  const json moved =
      json::parse(RunCommand({"set-status", "--control", control, "--token",
                              QString::fromStdString(placed["token"]), "--status", "DONE"}));
  EXPECT_EQ(moved["status"], "DONE");
  RunCommand({"set-status", "--control", control, "--token", "unknown", "--status", "DONE"}, 1);
  RunCommand({"fail-next", "--control", control, "--kind", "500", "--count", "many"}, 2);
  EXPECT_EQ(json::parse(RunCommand({"requests", "--control", control})), json::array());

  serve.terminate();
  QElapsedTimer stopping;
  stopping.start();
  ASSERT_TRUE(serve.waitForFinished(5000));
  EXPECT_LT(stopping.elapsed(), 2000);
  EXPECT_EQ(serve.exitCode(), 0);
  EXPECT_FALSE(QFile::exists(statePath));
  const std::string banner = serve.readAllStandardOutput().toStdString();
  EXPECT_NE(banner.find("place-order --control " + control.toStdString()), std::string::npos)
      << banner;
}

TEST(CommandLine, UnknownPortGivesAClearError) {
  QProcess process;
  process.start(kProgram, {"requests", "--control", "1"});
  ASSERT_TRUE(process.waitForFinished(10000));
  EXPECT_EQ(process.exitCode(), 1);
  EXPECT_NE(process.readAllStandardError().indexOf("control port 1"), -1);
}
