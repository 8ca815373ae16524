#include <gtest/gtest.h>

#include <QApplication>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include "RuntimeFolder.h"
#include "support/TempDataFolder.h"
#include "diag/TDebugWindow.h"
#include "diag/TErrorManager.h"
#include "shell/SingleInstance.h"
#include "shell/UFake.h"
#include "shell/Udm.h"
#include "print/PrinterPorts.h"
#include "ui/Tfm_login.h"

namespace {

class ControllerTest : public testing::Test {
 protected:
  ControllerTest() {
    TErrorManager::ResetForTests();
    TDebugWindow::ResetForTests();
    EXPECT_EQ(instance_.Acquire(Tfm_orderFake::WM_SHOW_INSTANCE), SingleInstance::Outcome::Owner);
    controller_.SetRestarter([this] {
      ++restarts_;
      // The old copy must have let go of the name, or the new one would hand over and leave.
      SingleInstance probe(instance_.Path());
      nameFreeAtRestart_ = probe.Acquire(0) == SingleInstance::Outcome::Owner;
      return true;
    });
  }
  ~ControllerTest() override {
    TErrorManager::ResetForTests();
    TDebugWindow::ResetForTests();
  }

  // Runs the event loop with trigger queued; the loop's result, or timeoutCode when nothing
  // ended it within waitMs.
  int RunLoop(const std::function<void()>& trigger, int waitMs, int timeoutCode) {
    QTimer::singleShot(0, trigger);
    QTimer::singleShot(waitMs, [timeoutCode] { QCoreApplication::exit(timeoutCode); });
    return QCoreApplication::exec();
  }

  QString TodaysLog() const {
    return QString::fromUtf8(home_.readFile("log/" + QDate::currentDate().toString("yyyyMMdd") + ".log"));
  }

  TempDataFolder home_{false};
  RuntimeFolder runtime_;
  SingleInstance instance_{SingleInstance::DefaultServerPath()};
  Tdm dm_;
  Tfm_orderFake controller_{dm_, instance_};
  int restarts_ = 0;
  bool nameFreeAtRestart_ = false;
};

TEST_F(ControllerTest, CreationStepSetsUpLogAndShowsTheLoginWindow) {
  home_.writeFile("server.ini", "[Server]\nReportHost=127.0.0.1:9\n");
  controller_.FormCreate();

  EXPECT_EQ(TErrorManager::AppName(), "TalvenOrder");
  EXPECT_EQ(TErrorManager::URL(), "http://127.0.0.1:9/api/android_exception_api/log_write.php");
  EXPECT_EQ(TErrorManager::Path(), home_.dataFolder() + "/log/");
  EXPECT_TRUE(TodaysLog().contains(" >> Tfm_orderFake.FormCreate\r\n"));

  EXPECT_FALSE(controller_.isVisible());
  EXPECT_EQ(controller_.objectName(), "Tfm_orderFake");
  EXPECT_FALSE(controller_.isLogout);
  EXPECT_FALSE(controller_.isThreadRun);
  EXPECT_FALSE(controller_.Timer_conn.isActive());
  EXPECT_EQ(controller_.Timer_conn.interval(), 30000);
  EXPECT_FALSE(controller_.Timer_autotop.isActive());
  EXPECT_EQ(controller_.Timer_autotop.interval(), 5000);

  Tfm_login* login = controller_.LoginForm();
  ASSERT_NE(login, nullptr);
  EXPECT_TRUE(login->isVisible());
  EXPECT_TRUE(login->isWindow());
  EXPECT_EQ(login->parentWidget(), nullptr);
  EXPECT_EQ(login->objectName(), "Tfm_login");
  EXPECT_EQ(login->windowTitle(), "Pilvora");
  EXPECT_EQ(login->size(), QSize(724, 487));
  EXPECT_TRUE(login->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(login->windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST_F(ControllerTest, UnwritableLogDoesNotKeepTheLoginWindowAway) {
  home_.writeFile("log", "a file where the log folder belongs");
  controller_.FormCreate();
  ASSERT_NE(controller_.LoginForm(), nullptr);
  EXPECT_TRUE(controller_.LoginForm()->isVisible());
}

TEST_F(ControllerTest, ExitClosesBothPrinterPorts) {
  // Two pty pairs stand in for the printer and the virtual port's other program.
  std::vector<std::unique_ptr<QProcess>> links;
  for (const char* name : {"COM3", "COM4"}) {
    auto socat = std::make_unique<QProcess>();
    const QString link = home_.file(QString("ports/") + name);
    QDir().mkpath(QFileInfo(link).absolutePath());
    socat->start("socat", {"pty,raw,echo=0,link=" + link, "pty,raw,echo=0,link=" + link + ".peer"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(link) && QFileInfo::exists(link + ".peer"); }, 5000));
    links.push_back(std::move(socat));
  }
  PrinterPorts& ports = dm_.Ports();
  ports.ComPort().SetPort("COM3");
  ports.ComPort_virtual().SetPort("COM4");
  ASSERT_TRUE(ports.PortOpen());
  ports.ComPort_virtual().Open();
  ASSERT_TRUE(ports.ComPort().Connected() && ports.ComPort_virtual().Connected());

  controller_.FormCreate();
  EXPECT_EQ(RunLoop([&] { controller_.LoginForm()->close(); }, 3000, 7), 0);
  EXPECT_FALSE(ports.ComPort().Connected());
  EXPECT_FALSE(ports.ComPort_virtual().Connected());
  for (auto& socat : links) {
    socat->terminate();
    socat->waitForFinished(3000);
  }
}

struct EndCase {
  const char* name;
  bool hideLogin;            // the moment "neither login window nor widget" of a shutdown
  bool closeLogin;           // the operator closes the login window instead
  bool programEnds;
  int restarts;
};

void PrintTo(const EndCase& c, std::ostream* os) { *os << c.name; }

class ControllerEndTest : public ControllerTest, public testing::WithParamInterface<EndCase> {};

TEST_P(ControllerEndTest, SecondStartOrLoginClose) {
  const EndCase& c = GetParam();
  controller_.FormCreate();
  Tfm_login* login = controller_.LoginForm();
  ASSERT_NE(login, nullptr);
  if (c.hideLogin) login->hide();

  constexpr int kStillRunning = 7;
  const int result = RunLoop(
      [&] {
        if (c.closeLogin)
          login->close();
        else
          SingleInstance::NotifyRunningCopy(instance_.Path(), Tfm_orderFake::WM_SHOW_INSTANCE);
      },
      1500, kStillRunning);

  EXPECT_EQ(result, c.programEnds ? 0 : kStillRunning);
  EXPECT_EQ(restarts_, c.restarts);
  if (c.restarts) {
    EXPECT_TRUE(nameFreeAtRestart_);
  }
  EXPECT_EQ(instance_.IsOwner(), c.restarts == 0);
  EXPECT_EQ(login->isVisible(), !c.hideLogin && !c.closeLogin);
}

const EndCase kEndCases[] = {
    {"SecondStartWhileLoginShown", false, false, false, 0},
    {"SecondStartWhileNothingShown", true, false, true, 1},
    {"LoginWindowClosed", false, true, true, 0},
};

INSTANTIATE_TEST_SUITE_P(Controller, ControllerEndTest, testing::ValuesIn(kEndCases),
                         [](const testing::TestParamInfo<EndCase>& info) { return info.param.name; });

}  // namespace
