#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QTest>

#include <signal.h>

#include "ClientWorld.h"

namespace {

// Every file and folder under root with its size, time and content: "changes nothing" means
// this stays equal.
QMap<QString, QString> Snapshot(const QString& root) {
  QMap<QString, QString> entries;
  QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QFileInfo info(it.next());
    QString state = QString::number(info.size()) + " " +
                    QString::number(info.lastModified().toMSecsSinceEpoch());
    QFile file(info.filePath());
    if (info.isFile() && file.open(QIODevice::ReadOnly)) state += " " + QString::fromLatin1(file.readAll().toHex());
    entries.insert(info.filePath(), state);
  }
  return entries;
}

// SIGTERM takes the normal exit path: status 0 and the name given up.
void Terminate(QProcess& client, const ClientWorld& world) {
  kill(static_cast<pid_t>(client.processId()), SIGTERM);
  ASSERT_TRUE(client.waitForFinished(10000));
  EXPECT_EQ(client.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(client.exitCode(), 0);
  EXPECT_FALSE(QFileInfo::exists(world.socketPath()));
}

void SetAge(const QString& path, int days) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addDays(-days), QFileDevice::FileModificationTime));
}

TEST(StartUp, SecondCopyHandsOverAndLeavesEverythingAlone) {
  ClientWorld world(false);
  const auto first = world.start();
  ASSERT_TRUE(world.waitUntilUp(*first)) << "the first copy did not come up";
  const auto before = Snapshot(world.home().root());

  QElapsedTimer clock;
  clock.start();
  const auto second = world.start();
  ASSERT_TRUE(second->waitForFinished(10000));
  EXPECT_LT(clock.elapsed(), 3000) << "the second copy must leave at once";
  EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second->exitCode(), 0);

  EXPECT_TRUE(QTest::qWaitFor([&] { return world.debugText().contains("WM_SHOW_INSTANCE"); }, 5000))
      << qPrintable(world.debugText());
  QTest::qWait(300);
  EXPECT_EQ(first->state(), QProcess::Running);
  EXPECT_EQ(Snapshot(world.home().root()), before);
  Terminate(*first, world);
}

TEST(StartUp, FirstStartCreatesDataFolderAndTodaysLog) {
  ClientWorld world(false);
  ASSERT_FALSE(QFileInfo::exists(world.home().dataFolder()));
  const auto client = world.start();
  ASSERT_TRUE(world.waitUntilUp(*client));

  EXPECT_TRUE(QFileInfo(world.home().dataFolder()).isDir());
  EXPECT_TRUE(QFileInfo(world.home().dataFolder() + "/log").isDir());
  const QString log = QString::fromUtf8(world.home().readFile(world.todaysLogName()));
  EXPECT_TRUE(log.contains(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d >> Tfm_orderFake\\.FormCreate\r\n")))
      << qPrintable(log);
  Terminate(*client, world);
}

TEST(StartUp, LogsOlderThanFourteenDaysAreDeleted) {
  ClientWorld world(true);
  const QString logFolder = world.home().dataFolder() + "/log/";
  world.home().writeFile("log/old.log", "15 days");
  world.home().writeFile("log/recent.txt", "13 days");
  world.home().writeFile("log/keep/inside.log", "a subfolder is not a file");
  SetAge(logFolder + "old.log", 15);
  SetAge(logFolder + "recent.txt", 13);
  SetAge(logFolder + "keep/inside.log", 30);

  const auto client = world.start();
  ASSERT_TRUE(world.waitUntilUp(*client));

  EXPECT_FALSE(QFileInfo::exists(logFolder + "old.log"));
  EXPECT_TRUE(QFileInfo::exists(logFolder + "recent.txt"));
  EXPECT_TRUE(QFileInfo::exists(logFolder + "keep/inside.log"));
  Terminate(*client, world);
}

TEST(StartUp, CopyKilledWithoutCleanUpDoesNotBlockTheNext) {
  ClientWorld world(false);
  const auto crashed = world.start();
  ASSERT_TRUE(world.waitUntilUp(*crashed));
  crashed->kill();
  ASSERT_TRUE(crashed->waitForFinished(10000));
  ASSERT_TRUE(QFileInfo::exists(world.socketPath())) << "SIGKILL should leave the socket file";

  QFile::remove(world.home().dataFolder() + "/" + world.todaysLogName());
  const auto next = world.start();
  ASSERT_TRUE(world.waitUntilUp(*next)) << "the next start must take the name over";
  Terminate(*next, world);
}

}  // namespace
