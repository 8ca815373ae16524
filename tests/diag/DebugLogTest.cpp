#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <thread>
#include <vector>

#include "diag/Clock.h"
#include "diag/FileErrors.h"
#include "diag/TDebugWindow.h"

namespace {

// A fresh debug log per test whose file goes to a temporary folder.
class DebugLog : public testing::Test {
 protected:
  DebugLog() {
    TDebugWindow::ResetForTests();
    TDebugWindow::SetFilePathForTests(file());
  }
  ~DebugLog() override {
    TDebugWindow::ResetForTests();
    TDebugWindow::SetFilePathForTests({});
    diag::SetClockForTests({});
  }
  QString file() const { return dir_.filePath("debug.txt"); }
  QByteArray fileContent() const {
    QFile f(file());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  static void pinClock(int h, int m, int s) {
    diag::SetClockForTests([=] { return QDateTime(QDate(2026, 4, 7), QTime(h, m, s)); });
  }

  QTemporaryDir dir_;
};

TEST_F(DebugLog, OffByDefault) {
  TDebugWindow::Add("nobody sees this");
  TDebugWindow::UseFileSave();  // before the window: no effect
  TDebugWindow::Add("nor this");
  EXPECT_FALSE(TDebugWindow::IsOn());
  EXPECT_FALSE(TDebugWindow::IsSavingToFile());
  EXPECT_TRUE(TDebugWindow::Lines().isEmpty());
  EXPECT_FALSE(QFile::exists(file()));
}

TEST_F(DebugLog, FileSaveBeforeWindowStaysOff) {
  TDebugWindow::UseFileSave();
  TDebugWindow::UseDebugWin();
  TDebugWindow::Add("shown only");
  EXPECT_EQ(TDebugWindow::Lines().size(), 1);
  EXPECT_FALSE(QFile::exists(file()));
}

TEST_F(DebugLog, LineFormat) {
  TDebugWindow::UseDebugWin();
  TDebugWindow::UseDebugWin();  // a second call changes nothing
  pinClock(14, 5, 9);
  TDebugWindow::Add("GetPrintInfo err : Access denied");
  pinClock(9, 0, 3);
  TDebugWindow::Add("");
  TDebugWindow::Add("first\r\nsecond\nthird\r\n");
  EXPECT_EQ(TDebugWindow::Lines(), QStringList({"14:05:09 GetPrintInfo err : Access denied", "09:00:03 ",
                                                "09:00:03 first", "second", "third"}));
}

TEST_F(DebugLog, SystemClockStamp) {
  TDebugWindow::UseDebugWin();
  TDebugWindow::Add("x");
  static const QRegularExpression stamp(QStringLiteral("^([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9] x$"));
  EXPECT_TRUE(stamp.match(TDebugWindow::Lines().value(0)).hasMatch()) << TDebugWindow::Lines().value(0).toStdString();
}

TEST_F(DebugLog, FileMirrorsAndClearShrinksIt) {
  pinClock(10, 0, 0);
  {
    QFile previousRun(file());
    ASSERT_TRUE(previousRun.open(QIODevice::WriteOnly));
    previousRun.write("23:59:59 from the last run\r\n");
  }
  TDebugWindow::UseDebugWin();
  TDebugWindow::UseFileSave();
  TDebugWindow::Add("one");
  EXPECT_EQ(fileContent(), "10:00:00 one\r\n");  // the previous run's file is replaced
  TDebugWindow::Add(QString::fromUtf8("둘"));
  TDebugWindow::Add("three");
  EXPECT_EQ(fileContent(), QByteArray("10:00:00 one\r\n10:00:00 둘\r\n10:00:00 three\r\n"));

  TDebugWindow::Clear();
  EXPECT_EQ(fileContent().count('\n'), 3);  // Clear alone leaves the file
  TDebugWindow::Add("after");
  EXPECT_EQ(fileContent(), "10:00:00 after\r\n");
}

TEST_F(DebugLog, FileFailureRaisesAfterTheLine) {
  TDebugWindow::SetFilePathForTests(dir_.filePath("missing/debug.txt"));
  TDebugWindow::UseDebugWin();
  TDebugWindow::UseFileSave();
  EXPECT_THROW(TDebugWindow::Add("kept"), EFCreateError);
  ASSERT_EQ(TDebugWindow::Lines().size(), 1);
  EXPECT_TRUE(TDebugWindow::Lines()[0].endsWith(" kept"));
}

TEST_F(DebugLog, FourThreadsLoseAndInterleaveNothing) {
  TDebugWindow::UseDebugWin();
  TDebugWindow::UseFileSave();
  constexpr int kThreads = 4, kLines = 150;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([t] {
      for (int i = 0; i < kLines; ++i) TDebugWindow::Add(QStringLiteral("t%1 #%2").arg(t).arg(i));
    });
  for (auto& thread : threads) thread.join();

  const QStringList lines = TDebugWindow::Lines();
  ASSERT_EQ(lines.size(), kThreads * kLines);
  std::vector<int> next(kThreads, 0);
  for (const QString& line : lines) {
    const QString text = line.mid(9);
    const int t = text.mid(1, 1).toInt();
    EXPECT_EQ(text, QStringLiteral("t%1 #%2").arg(t).arg(next[t]++));  // each thread in call order
  }
  QByteArray expected;
  for (const QString& line : lines) expected += line.toUtf8() + "\r\n";
  EXPECT_EQ(fileContent(), expected);  // the last save holds every line
}

TEST_F(DebugLog, DiagnosticSwitch) {
  struct Case {
    const char* value;  // nullptr: not set
    bool on;
    bool file;
  };
  const Case cases[] = {
      {nullptr, false, false}, {"", false, false},   {"0", false, false},
      {"1", true, false},      {"file", true, true}, {"FILE", false, false},
      {" 1", false, false},
  };
  const QByteArray old = qgetenv("TALVENORDER_DEBUG");
  for (const auto& c : cases) {
    TDebugWindow::ResetForTests();
    if (c.value) qputenv("TALVENORDER_DEBUG", c.value); else qunsetenv("TALVENORDER_DEBUG");
    TDebugWindow::ApplyDiagnosticSwitch();
    EXPECT_EQ(TDebugWindow::IsOn(), c.on) << (c.value ? c.value : "(unset)");
    EXPECT_EQ(TDebugWindow::IsSavingToFile(), c.file) << (c.value ? c.value : "(unset)");
  }
  if (old.isNull()) qunsetenv("TALVENORDER_DEBUG"); else qputenv("TALVENORDER_DEBUG", old);
}

}  // namespace
