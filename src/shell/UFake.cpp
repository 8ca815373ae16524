#include "shell/UFake.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include <exception>

#include "diag/SupportRoutines.h"
#include "diag/TDebugWindow.h"
#include "diag/TErrorManager.h"
#include "platform/AppPaths.h"
#include "settings/ServerConfig.h"
#include "shell/SingleInstance.h"
#include "shell/TalvenApplication.h"
#include "shell/Udm.h"
#include "ui/Tfm_login.h"

namespace {

constexpr int kTimerConnStartMs = 30000;
constexpr int kTimerAutotopMs = 5000;

QString LogFolder() { return platform::DataFolder() + "/log/"; }

bool StartOwnExecutable() {
  QString exe = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
  // After an update replaced the file, the kernel names the old one "<path> (deleted)": the
  // new copy is the file now at that path.
  exe.remove(QRegularExpression(QStringLiteral(" \\(deleted\\)$")));
  return QProcess::startDetached(exe.isEmpty() ? QCoreApplication::applicationFilePath() : exe, {});
}

// Steps that must not keep the login window away when the disk refuses a log line.
void LogOrWarn(const QString& message) {
  try {
    TErrorManager::Log(message);
  } catch (const std::exception& e) {
    qWarning("error log: %s", e.what());
  }
}

}  // namespace

Tfm_orderFake::Tfm_orderFake(Tdm& dm, SingleInstance& instance, QWidget* parent)
    : QWidget(parent), dm_(dm), instance_(instance), restarter_(StartOwnExecutable) {
  setObjectName(QStringLiteral("Tfm_orderFake"));
  Timer_autotop.setInterval(kTimerAutotopMs);
  Timer_conn.setInterval(kTimerConnStartMs);
  connect(&instance_, &SingleInstance::MessageReceived, this, &Tfm_orderFake::OnInstanceMessage);
}

Tfm_orderFake::~Tfm_orderFake() = default;

void Tfm_orderFake::FormCreate() {
  TErrorManager::UseErrorManager();
  TErrorManager::SetAppName(QStringLiteral("TalvenOrder"));
  TErrorManager::SetURL("http://" + LoadServerConfig().ReportHost +
                        "/api/android_exception_api/log_write.php");
  TErrorManager::SetPath(LogFolder());
  DeleteOldFiles(LogFolder(), 14, QStringLiteral("*.*"));
  LogOrWarn(QStringLiteral("Tfm_orderFake.FormCreate"));
  Initialize();

  isLogout = false;
  isThreadRun = false;
  Timer_conn.setInterval(kTimerConnStartMs);
  Timer_conn.stop();
  Timer_autotop.stop();

  const QString dataFolder = platform::DataFolder();
  if (!QFileInfo(dataFolder).isDir() && !ForceFolder(dataFolder))
    LogOrWarn("ForceFolder err : " + dataFolder);
  ShowLoginForm();
}

void Tfm_orderFake::Initialize() {
  if (auto* app = qobject_cast<TalvenApplication*>(QCoreApplication::instance()))
    app->SetEscapeHandler([this](QObject* sender, const QString& message) { FExceptionEvent(sender, message); });
}

void Tfm_orderFake::FExceptionEvent(QObject* sender, const QString& message) {
  // Nothing is shown to the operator: the program carries on.
  const char* kind = sender ? sender->metaObject()->className() : "";
  try {
    TDebugWindow::Add(QStringLiteral("%1 : %2").arg(QString::fromLatin1(kind), message));
  } catch (const std::exception&) {
    // the debug file is unwritable; the trace has the line in memory already
  }
}

void Tfm_orderFake::ShowLoginForm() {
  if (!login_) login_ = std::make_unique<Tfm_login>();
  login_->isLogout = isLogout;
  login_->FFormClose = [this](QObject* sender) { SendForm_Close(sender); };
  login_->show();
  login_->raise();
}

void Tfm_orderFake::SendForm_Close(QObject*) {
  try {
    dm_.Ports().PortClose();
    dm_.Ports().PortVClose();
  } catch (...) {
    // Leaving must not fail: whatever the ports say, the program ends.
  }
  close();
}

void Tfm_orderFake::closeEvent(QCloseEvent* event) {
  event->accept();
  QCoreApplication::quit();  // the controller is the main window
}

void Tfm_orderFake::OnInstanceMessage(quint32 message) {
  if (message == WM_SHOW_INSTANCE) {
    WMShowInstance();
  } else {
    TDebugWindow::Add(QStringLiteral("unknown instance message 0x%1").arg(message, 0, 16));
  }
}

void Tfm_orderFake::WMShowInstance() {
  TDebugWindow::Add(QStringLiteral("WM_SHOW_INSTANCE"));
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible() && window->isMinimized()) window->showNormal();
  }
  if (login_ && login_->isVisible()) {
    login_->raise();
    login_->activateWindow();
    return;
  }
  // The waiting widget joins here with the session: shown again when the tray icon is.
  Restart();
}

void Tfm_orderFake::Restart() {
  // The new copy must find the name free, or it would hand over to this one and leave.
  instance_.Release();
  if (!restarter_()) LogOrWarn(QStringLiteral("WM_SHOW_INSTANCE err : the new copy did not start"));
  QCoreApplication::quit();
}
