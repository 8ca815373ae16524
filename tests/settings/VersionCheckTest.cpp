#include "LoopbackHttpServer.h"
#include "QtPrinters.h"
#include "diag/SupportRoutines.h"
#include "settings/VersionCheck.h"
#include "support/ScriptedMessageBox.h"
#include "support/TempDataFolder.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <optional>

namespace {

const QByteArray kPageTarget = "/ver.html?name=TalvenOrder";
const QString kCurrent = QStringLiteral("# 최신버전입니다. -") + FileVersionText();
const QString kUpdate = QStringLiteral("# 업데이트가 필요합니다. -") + FileVersionText();
const QString kInstallError = QStringLiteral("설치 오류입니다.\r\n잠시 후 다시 시도하세요.");
using Colour = VersionCheck::Colour;

class VersionFixture : public testing::Test {
 protected:
  VersionFixture() : oldTmp_(qgetenv("TMPDIR")) {
    tmp.writeFile("server.ini", "[Server]\nVersionHost=" + server.host().toUtf8() + "\n");
    QDir().mkpath(tmp.root() + "/tmp");
    qputenv("TMPDIR", (tmp.root() + "/tmp").toUtf8());  // the installer lands in our own folder
  }
  ~VersionFixture() override { qputenv("TMPDIR", oldTmp_); }

  void ServePage(const QByteArray& page) { server.route(kPageTarget, {200, page, {}}); }

  TempDataFolder tmp;
  LoopbackHttpServer server;

 private:
  QByteArray oldTmp_;
};

struct LabelCase {
  const char* name;
  std::optional<QByteArray> versionIni;
  LoopbackHttpServer::Reply page;
  QString text;
  Colour colour;
};

class VersionLabel : public VersionFixture, public testing::WithParamInterface<LabelCase> {};

void PrintTo(const LabelCase& c, std::ostream* os) { *os << c.name; }

TEST_P(VersionLabel, ShowsTheComparison) {
  const LabelCase& c = GetParam();
  if (c.versionIni) tmp.writeFile("version.ini", *c.versionIni);
  server.route(kPageTarget, c.page);
  server.route("/moved", {200, "Version=1.0.0.15\n", {}});
  VersionCheck check;
  check.Check();
  EXPECT_EQ(check.LabelText(), c.text);
  EXPECT_EQ(check.LabelColour(), c.colour);
  EXPECT_EQ(check.LabelClickable(), c.colour == Colour::Red);
  EXPECT_EQ(server.requests().value(0), kPageTarget);
}

const QByteArray kInstalled15 = "[TalvenOrder]\r\nVersion=1.0.0.15\r\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, VersionLabel,
    testing::Values(
        LabelCase{"equal", kInstalled15, {200, "Version=1.0.0.15\r\nHash=x\r\n", {}}, kCurrent, Colour::Black},
        LabelCase{"textNotNumber", kInstalled15, {200, "Version=1.0.0.9\n", {}}, kUpdate, Colour::Red},
        LabelCase{"noVersionAnywhere", std::nullopt, {200, "Download=http://x/\n", {}}, kCurrent, Colour::Black},
        LabelCase{"onlyInstalledHasOne", kInstalled15, {200, "Download=http://x/\n", {}}, kUpdate, Colour::Red},
        LabelCase{"nameAnyCaseCrEnds", kInstalled15, {200, "hash=x\rVERSION=1.0.0.15\r", {}}, kCurrent, Colour::Black},
        LabelCase{"firstLineCounts", kInstalled15, {200, "Version=1.0.0.15\nVersion=2.0\n", {}}, kCurrent, Colour::Black},
        LabelCase{"caseSensitiveValue", "[TalvenOrder]\nVersion=1.0.0.15a\n", {200, "Version=1.0.0.15A\n", {}}, kUpdate, Colour::Red},
        LabelCase{"emptyPageIsCurrent", kInstalled15, {200, "", {}}, kCurrent, Colour::Black},
        LabelCase{"redirectFollowed", kInstalled15, {302, "", {{"Location", "/moved"}}}, kCurrent, Colour::Black},
        LabelCase{"errorPageLeavesEmpty", kInstalled15, {404, "Version=1.0.0.15", {}}, "", Colour::Black}),
    [](const testing::TestParamInfo<LabelCase>& info) { return std::string(info.param.name); });

TEST(VersionLabelUnreachable, LeavesAnEmptyLabel) {
  TempDataFolder tmp;
  quint16 deadPort;
  { deadPort = LoopbackHttpServer().port(); }  // nothing listens there any more
  tmp.writeFile("server.ini", "[Server]\nVersionHost=127.0.0.1:" + QByteArray::number(deadPort) + "\n");
  VersionCheck check;
  check.Check();
  EXPECT_EQ(check.LabelText(), "");
  EXPECT_FALSE(check.LabelClickable());
}

class Update : public VersionFixture {
 protected:
  struct Started {
    QString file;
    QString parameters;
  };

  // Puts up a page that needs an update and names the installer at download.
  std::unique_ptr<VersionCheck> RedLabel(const QString& hash, const QString& size, const QByteArray& download) {
    tmp.writeFile("version.ini", kInstalled15);
    ServePage("Version=1.0.0.16\r\nDownload=" + server.url(download).toUtf8() + "\r\nHash=" + hash.toUtf8() +
              "\r\nFileSize=" + size.toUtf8() + "\r\nExecOption=/SILENT /NORESTART\r\n");
    auto check = std::make_unique<VersionCheck>();
    check->SetStarter([this](const QString& f, const QString& p) { started.push_back({f, p}); });
    check->Check();
    EXPECT_TRUE(check->LabelClickable());
    return check;
  }

  const QByteArray installer = QByteArray("#!/bin/sh\necho installer\n") + QByteArray(300000, 'z');
  const QString md5 = QCryptographicHash::hash(installer, QCryptographicHash::Md5).toHex();
  const QString size = QString::number(installer.size());
  ScriptedMessageBox box;
  std::vector<Started> started;
};

TEST_F(Update, GoodFileIsStartedWithItsOptions) {
  server.route("/setup.exe", {200, installer, {}});
  auto check = RedLabel(md5, size, "/setup.exe");
  QSignalSpy begin(check.get(), &VersionCheck::ProgressBegin);
  QSignalSpy work(check.get(), &VersionCheck::ProgressWork);
  QSignalSpy end(check.get(), &VersionCheck::ProgressEnd);
  box.answerNext(platform::MsgResult::Ok);
  check->Click();

  EXPECT_EQ(box.texts(), QStringList{"지금 업데이트를 진행하시겠습니까?"});
  ASSERT_EQ(started.size(), 1u);
  const QString target = tmp.root() + "/tmp/TalvenOrderSetup.exe";
  EXPECT_EQ(started[0].file, target);
  const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
  EXPECT_EQ(started[0].parameters, "/SILENT /NORESTART \"" + program + "\"");
  QFile f(target);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), installer);

  ASSERT_EQ(begin.size(), 1);
  EXPECT_EQ(begin[0][0].toLongLong(), installer.size());
  ASSERT_FALSE(work.isEmpty());
  EXPECT_EQ(work.last()[0].toLongLong(), installer.size());
  EXPECT_EQ(end.size(), 1);
}

TEST_F(Update, RealStartRunsTheInstallerWithItsParameters) {
  const QString out = tmp.root() + "/args.txt";
  const QByteArray script = "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + out.toUtf8() + "'\n";
  server.route("/setup.exe", {200, script, {}});
  const QString hash = QCryptographicHash::hash(script, QCryptographicHash::Md5).toHex();
  tmp.writeFile("version.ini", kInstalled15);
  ServePage("Version=2\nDownload=" + server.url("/setup.exe").toUtf8() + "\nHash=" + hash.toUtf8() +
            "\nFileSize=" + QByteArray::number(script.size()) + "\nExecOption=/SILENT /DIR=\"a b\"\n");
  VersionCheck check;  // the platform's own starter
  check.Check();
  box.answerNext(platform::MsgResult::Ok);
  check.Click();
  QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(out).size() > 0, 5000);
  QFile f(out);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
  EXPECT_EQ(QString::fromUtf8(f.readAll()), "/SILENT\n/DIR=a b\n" + program + "\n");
}

TEST_F(Update, BadDownloadsShowTheErrorAndStartNothing) {
  server.route("/setup.exe", {200, installer, {}});
  server.route("/elsewhere", {302, "", {{"Location", "/setup.exe"}}});
  const struct {
    const char* name;
    QString hash;
    QString size;
    QByteArray download;
  } cases[] = {
      {"upperCaseHash", md5.toUpper(), size, "/setup.exe"},
      {"wrongSize", md5, QString::number(installer.size() + 1), "/setup.exe"},
      {"redirect", md5, size, "/elsewhere"},
      {"missingFile", md5, size, "/gone.exe"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto check = RedLabel(c.hash, c.size, c.download);
    box.answerNext(platform::MsgResult::Ok);
    const qsizetype shown = box.texts().size();
    check->Click();
    EXPECT_EQ(box.texts().mid(shown), QStringList({"지금 업데이트를 진행하시겠습니까?", kInstallError}));
    EXPECT_TRUE(started.empty());
  }
}

TEST_F(Update, CancelOrCurrentLabelDownloadsNothing) {
  server.route("/setup.exe", {200, installer, {}});
  auto check = RedLabel(md5, size, "/setup.exe");
  box.answerNext(platform::MsgResult::Cancel);
  check->Click();
  EXPECT_EQ(box.questions(), 1);

  ServePage("Version=1.0.0.15\r\n");
  check->Check();
  check->Click();
  EXPECT_EQ(box.questions(), 1) << "a black label does not ask";
  EXPECT_FALSE(server.requests().contains("/setup.exe"));
  EXPECT_TRUE(started.empty());
}

}  // namespace
