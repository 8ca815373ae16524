#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include <future>

#include "diag/Clock.h"
#include "diag/TDebugWindow.h"
#include "platform/DebugView.h"
#include "platform/qtui/QtDebugWindow.h"

namespace {

QList<QWidget*> debugWindows() {
  QList<QWidget*> found;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == "TDebugWindow") found << w;
  return found;
}

// The Qt window installed as the view, a fresh log per test, the file in a temporary folder.
class DebugWindow : public testing::Test {
 protected:
  DebugWindow() {
    TDebugWindow::ResetForTests();
    TDebugWindow::SetFilePathForTests(dir_.filePath("debug.txt"));
    previous_ = platform::SetDebugViewFactory({});
    platform::InstallQtDebugWindow();
    diag::SetClockForTests([] { return QDateTime(QDate(2026, 4, 7), QTime(8, 1, 2)); });
  }
  ~DebugWindow() override {
    TDebugWindow::ResetForTests();
    TDebugWindow::SetFilePathForTests({});
    platform::SetDebugViewFactory(previous_);
    diag::SetClockForTests({});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  static QWidget* window() {
    const auto windows = debugWindows();
    return windows.size() == 1 ? windows.front() : nullptr;
  }
  static QPlainTextEdit* memo() {
    QWidget* w = window();
    return w ? w->findChild<QPlainTextEdit*>("MemoMsg") : nullptr;
  }
  static void settle() { QCoreApplication::processEvents(); }

  QTemporaryDir dir_;
  platform::DebugViewFactory previous_;
};

TEST_F(DebugWindow, NoWindowUntilSwitchedOn) {
  TDebugWindow::Add("ignored");
  settle();
  EXPECT_TRUE(debugWindows().isEmpty());
}

TEST_F(DebugWindow, OneWindowWithCaptionSizeAndReadOnlyArea) {
  TDebugWindow::UseDebugWin();
  TDebugWindow::UseDebugWin();
  settle();
  ASSERT_EQ(debugWindows().size(), 1);
  QWidget* w = window();
  EXPECT_TRUE(w->isVisible());
  EXPECT_FALSE(w->isModal());
  EXPECT_EQ(w->windowTitle(), QString::fromUtf8("디버그 메세지 확인창"));
  EXPECT_EQ(w->size(), QSize(491, 260));
  ASSERT_NE(memo(), nullptr);
  EXPECT_TRUE(memo()->isReadOnly());
  EXPECT_EQ(memo()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(memo()->maximumBlockCount(), 0);
}

TEST_F(DebugWindow, LinesShowInOrderAndClosingOnlyHides) {
  TDebugWindow::UseDebugWin();
  TDebugWindow::Add("first");
  TDebugWindow::Add("two\r\nlines");
  settle();
  EXPECT_EQ(memo()->toPlainText(), "08:01:02 first\n08:01:02 two\nlines");

  window()->close();
  TDebugWindow::Add("while hidden");
  TDebugWindow::UseDebugWin();  // does not show it again
  settle();
  ASSERT_NE(window(), nullptr);
  EXPECT_FALSE(window()->isVisible());
  EXPECT_TRUE(memo()->toPlainText().endsWith("08:01:02 while hidden"));
}

TEST_F(DebugWindow, CtrlAloneSelectsAll) {
  TDebugWindow::UseDebugWin();
  TDebugWindow::Add("some text");
  settle();
  QPlainTextEdit* area = memo();
  QTest::keyClick(area, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_FALSE(area->textCursor().hasSelection());
  QTest::keyClick(area, Qt::Key_A, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_FALSE(area->textCursor().hasSelection());
  QTest::keyClick(area, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(area->textCursor().selectedText(), "08:01:02 some text");
}

TEST_F(DebugWindow, ClearCommandEmptiesAreaAndNextSaveHasOneLine) {
  TDebugWindow::UseDebugWin();
  TDebugWindow::UseFileSave();
  for (const char* text : {"a", "b", "c"}) TDebugWindow::Add(text);
  settle();
  auto* popup = window()->findChild<QMenu*>("PopupMenu");
  ASSERT_NE(popup, nullptr);
  QAction* clear = popup->findChild<QAction*>("Clear1");
  ASSERT_NE(clear, nullptr);
  EXPECT_EQ(clear->text(), "Clear");

  clear->trigger();
  settle();
  EXPECT_TRUE(memo()->toPlainText().isEmpty());
  TDebugWindow::Add("d");
  settle();
  EXPECT_EQ(memo()->toPlainText(), "08:01:02 d");
  QFile file(dir_.filePath("debug.txt"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), "08:01:02 d\r\n");
}

TEST_F(DebugWindow, WorkerThreadsReachTheAreaThroughTheUiThread) {
  // Switched on from a worker: the window is still made on the user-interface thread.
  auto on = std::async(std::launch::async, [] { TDebugWindow::UseDebugWin(); });
  while (on.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) settle();
  ASSERT_NE(window(), nullptr);
  EXPECT_EQ(window()->thread(), QCoreApplication::instance()->thread());

  std::vector<std::future<void>> workers;
  for (int t = 0; t < 4; ++t)
    workers.push_back(std::async(std::launch::async, [t] {
      for (int i = 0; i < 50; ++i) TDebugWindow::Add(QStringLiteral("t%1 #%2").arg(t).arg(i));
    }));
  for (auto& worker : workers) worker.get();
  settle();
  EXPECT_EQ(memo()->toPlainText(), TDebugWindow::Lines().join('\n'));  // same lines, same order
  EXPECT_EQ(memo()->blockCount(), 200);
}

}  // namespace
