#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "diag/TDebugWindow.h"
#include "settings/ServerConfig.h"

namespace {

struct ServerIniCase {
  const char* name;
  const char* dataIni;     // nullptr: no file
  const char* programIni;  // nullptr: no file
  const char* web;
  const char* version;
  const char* order;
  const char* report;
  const char* caFile;  // "@data/" or "@program/" stand for the folders
  bool verifyTls;
};

const ServerIniCase kCases[] = {
    {"no files: built-in defaults", nullptr, nullptr, "shop.pilvora.example", "shop.pilvora.example",
     "order.pilvora.example", "report.pilvora.example", "", true},
    {"version host follows the web host's name", "[Server]\nWebHost=127.0.0.1:8443\n", nullptr,
     "127.0.0.1:8443", "127.0.0.1", "order.pilvora.example", "report.pilvora.example", "", true},
    {"bracketed IPv6 host keeps its brackets", "[Server]\nWebHost=[::1]:8443\n", nullptr, "[::1]:8443",
     "[::1]", "order.pilvora.example", "report.pilvora.example", "", true},
    {"data folder wins key by key, program folder fills in",
     "[server]\nwebhost=data.test:1\n",
     "[Server]\nWebHost=prog.test:2\nOrderHost=prog.test:3\nVersionHost=ver.test:80\nVerifyTls=0\n",
     "data.test:1", "ver.test:80", "prog.test:3", "report.pilvora.example", "", false},
    {"empty value counts as missing", "[Server]\nOrderHost=\nReportHost=  \n",
     "[Server]\nOrderHost=prog.test\n", "shop.pilvora.example", "shop.pilvora.example", "prog.test",
     "report.pilvora.example", "", true},
    {"a value that is not host[:port] is ignored",
     "[Server]\nWebHost=http://evil.test/x\nOrderHost=a b\nReportHost=r.test:80/path\n",
     "[Server]\nWebHost=prog.test\n", "prog.test", "prog.test", "order.pilvora.example",
     "report.pilvora.example", "", true},
    {"only 0 turns verification off", "[Server]\nVerifyTls=no\n", "[Server]\nVerifyTls=0\n",
     "shop.pilvora.example", "shop.pilvora.example", "order.pilvora.example", "report.pilvora.example",
     "", false},
    {"verification stays on for 1", "[Server]\nVerifyTls=1\n", "[Server]\nVerifyTls=0\n",
     "shop.pilvora.example", "shop.pilvora.example", "order.pilvora.example", "report.pilvora.example",
     "", true},
    {"relative CaFile lies beside the file naming it", nullptr, "[Server]\nCaFile=certs/ca.pem\n",
     "shop.pilvora.example", "shop.pilvora.example", "order.pilvora.example", "report.pilvora.example",
     "@program/certs/ca.pem", true},
    {"absolute CaFile is kept", "[Server]\nCaFile=/etc/ssl/extra.pem\n", nullptr, "shop.pilvora.example",
     "shop.pilvora.example", "order.pilvora.example", "report.pilvora.example", "/etc/ssl/extra.pem",
     true},
};

void PrintTo(const ServerIniCase& c, std::ostream* os) { *os << c.name; }

class ServerConfigTest : public testing::TestWithParam<ServerIniCase> {
 protected:
  static void Write(const QTemporaryDir& dir, const char* text) {
    if (!text) return;
    QFile file(dir.filePath("server.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }

  QTemporaryDir data_;
  QTemporaryDir program_;
};

TEST_P(ServerConfigTest, ReadsHostsFromDataFolderThenProgramFolderThenDefaults) {
  const ServerIniCase& c = GetParam();
  Write(data_, c.dataIni);
  Write(program_, c.programIni);

  const ServerConfig config = LoadServerConfig(data_.path(), program_.path());

  EXPECT_EQ(config.WebHost, c.web);
  EXPECT_EQ(config.VersionHost, c.version);
  EXPECT_EQ(config.OrderHost, c.order);
  EXPECT_EQ(config.ReportHost, c.report);
  QString ca = QString::fromUtf8(c.caFile);
  ca.replace("@data", data_.path()).replace("@program", program_.path());
  EXPECT_EQ(config.CaFile, ca);
  EXPECT_EQ(config.VerifyTls, c.verifyTls);
}

INSTANTIATE_TEST_SUITE_P(Files, ServerConfigTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<ServerIniCase>& info) {
                           std::string name;
                           for (const char* p = info.param.name; *p; ++p)
                             name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           return name;
                         });

}  // namespace

namespace {

TEST(ServerConfigTrace, UnwritableDebugFileDoesNotFailTheRead) {
  QTemporaryDir data, program, blocked;
  QFile file(QDir(data.path()).filePath("server.ini"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("[Server]\nWebHost=http://not-a-host/\n");
  file.close();
  TDebugWindow::ResetForTests();
  TDebugWindow::UseDebugWin();
  TDebugWindow::UseFileSave();
  TDebugWindow::SetFilePathForTests(blocked.path());  // a folder: the file cannot be written

  ServerConfig config;
  EXPECT_NO_THROW(config = LoadServerConfig(data.path(), program.path()));
  EXPECT_EQ(config.WebHost, "shop.pilvora.example");
  EXPECT_TRUE(TDebugWindow::Lines().join('\n').contains("ignoring WebHost"));

  TDebugWindow::SetFilePathForTests(QString());
  TDebugWindow::ResetForTests();
}

}  // namespace
