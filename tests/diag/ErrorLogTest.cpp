#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <thread>
#include <vector>

#include "support/TempDataFolder.h"
#include "diag/Clock.h"
#include "diag/FileErrors.h"
#include "diag/TErrorManager.h"

namespace {

QByteArray readAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A started error manager writing into a fresh data folder's log folder, clock pinned.
class ErrorLog : public testing::Test {
 protected:
  ErrorLog() : home_(false) {}
  ~ErrorLog() override {
    TErrorManager::ResetForTests();
    diag::SetClockForTests({});
  }

  void start() {
    TErrorManager::UseErrorManager();
    TErrorManager::SetAppName("TalvenOrder");
    TErrorManager::SetPath(logFolder());
  }
  void pinClock(const QDateTime& at) {
    diag::SetClockForTests([at] { return at; });
  }
  QString logFolder() const { return home_.dataFolder() + "/log/"; }

  TempDataFolder home_;
};

const QDateTime kNoon(QDate(2026, 4, 7), QTime(13, 5, 9));

TEST_F(ErrorLog, NothingBeforeUseErrorManager) {
  TErrorManager::SetPath(logFolder());
  EXPECT_NO_THROW(TErrorManager::Log("early"));
  EXPECT_EQ(TErrorManager::Path(), "");
  EXPECT_FALSE(QFileInfo::exists(home_.dataFolder()));
}

TEST_F(ErrorLog, FirstLineCreatesDataAndLogFolders) {
  start();
  pinClock(kNoon);
  TErrorManager::Log("Tfm_orderFake.FormCreate");
  EXPECT_EQ(readAll(logFolder() + "20260407.log"), "13:05:09 >> Tfm_orderFake.FormCreate\r\n");
}

TEST_F(ErrorLog, AppendsAndSplitsByDay) {
  start();
  pinClock(QDateTime(QDate(2026, 3, 31), QTime(23, 59, 59)));
  TErrorManager::Log("one");
  TErrorManager::Log("two\r\nsecond line");
  pinClock(QDateTime(QDate(2026, 4, 1), QTime(0, 0, 1)));
  TErrorManager::Log("three");
  EXPECT_EQ(readAll(logFolder() + "20260331.log"),
            "23:59:59 >> one\r\n23:59:59 >> two\r\nsecond line\r\n");
  EXPECT_EQ(readAll(logFolder() + "20260401.log"), "00:00:01 >> three\r\n");
}

TEST_F(ErrorLog, KoreanTextIsUtf8) {
  start();
  pinClock(kNoon);
  TErrorManager::Log(QString::fromUtf8("PortInit err : 포트 없음"));
  EXPECT_EQ(readAll(logFolder() + "20260407.log"), QByteArray("13:05:09 >> PortInit err : 포트 없음\r\n"));
}

TEST_F(ErrorLog, UnwritableFileRaises) {
  start();
  home_.writeFile("blocker", "a file where the log folder should be");
  TErrorManager::SetPath(home_.file("blocker") + "/");
  EXPECT_THROW(TErrorManager::Log("lost"), EInOutError);
}

TEST_F(ErrorLog, ThreadsNeverInterleave) {
  start();
  pinClock(kNoon);
  constexpr int kThreads = 4, kLines = 200;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([t] {
      for (int i = 0; i < kLines; ++i) TErrorManager::Log(QStringLiteral("thread %1 line %2 ").arg(t).arg(i).repeated(8));
    });
  for (auto& thread : threads) thread.join();

  const QList<QByteArray> lines = readAll(logFolder() + "20260407.log").split('\n');
  ASSERT_EQ(lines.size(), kThreads * kLines + 1);
  EXPECT_TRUE(lines.back().isEmpty());
  std::vector<int> next(kThreads, 0);
  for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
    const QByteArray& line = lines[i];
    ASSERT_TRUE(line.startsWith("13:05:09 >> thread ") && line.endsWith("\r")) << line.constData();
    const int t = line.mid(19, 1).toInt();
    const QByteArray expected =
        "13:05:09 >> " + QStringLiteral("thread %1 line %2 ").arg(t).arg(next[t]++).repeated(8).toUtf8() + "\r";
    EXPECT_EQ(line, expected);  // whole, and in each thread's own order
  }
}

}  // namespace
