#include "settings/VersionCheck.h"

#include "diag/SupportRoutines.h"
#include "diag/TDebugWindow.h"
#include "platform/AppPaths.h"
#include "platform/MessageBox.h"
#include "settings/HttpGet.h"
#include "settings/IniFile.h"
#include "settings/ServerConfig.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include <exception>

namespace {

const QString kInstallError = QStringLiteral("설치 오류입니다.\r\n잠시 후 다시 시도하세요.");

// Linux has no "open" verb for programs: make the file executable and run it detached.
void StartInstaller(const QString& file, const QString& parameters) {
  QFile::setPermissions(file, QFile::permissions(file) | QFile::ExeOwner | QFile::ExeUser);
  if (!QProcess::startDetached(file, QProcess::splitCommand(parameters)))
    TDebugWindow::Add(QStringLiteral("VersionCheck err : cannot start ") + file);
}

}  // namespace

VersionCheck::VersionCheck(QObject* parent)
    : QObject(parent), pageUrl_(PageUrl()), starter_(&StartInstaller) {}

QString VersionCheck::PageUrl() {
  return QStringLiteral("http://") + LoadServerConfig().VersionHost + QStringLiteral("/ver.html?name=TalvenOrder");
}

QString VersionCheck::DownloadTarget() { return TempFolder() + QStringLiteral("TalvenOrderSetup.exe"); }

void VersionCheck::SetLabel(const QString& text, Colour colour) {
  text_ = text;
  colour_ = colour;
  emit LabelChanged();
}

QString VersionCheck::PageValue(const QString& name) const {
  for (const QString& line : newVersion_) {
    const qsizetype eq = line.indexOf(u'=');
    if (eq >= 0 && line.left(eq).compare(name, Qt::CaseInsensitive) == 0) return line.mid(eq + 1);
  }
  return {};
}

void VersionCheck::Check() {
  try {
    const QString installed = IniFile(platform::DataFolder() + QStringLiteral("/version.ini"))
                                  .ReadString(QStringLiteral("TalvenOrder"), QStringLiteral("Version"), QString());
    SetLabel(QString(), Colour::Black);
    QBuffer page;
    page.open(QIODevice::WriteOnly);
    const HttpResult got = HttpGet(pageUrl_, true, page);
    if (!got.ok) {
      TDebugWindow::Add(QStringLiteral("VersionCheck err : ") + got.error);
      return;
    }
    newVersion_ = QString::fromUtf8(page.data()).split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
    if (!newVersion_.isEmpty() && newVersion_.last().isEmpty()) newVersion_.removeLast();

    SetLabel(QStringLiteral("# 최신버전입니다. -") + FileVersionText(), Colour::Black);
    if (!newVersion_.isEmpty() && PageValue(QStringLiteral("Version")) != installed)
      SetLabel(QStringLiteral("# 업데이트가 필요합니다. -") + FileVersionText(), Colour::Red);
  } catch (const std::exception& e) {
    TDebugWindow::Add(QStringLiteral("VersionCheck err : ") + QString::fromLocal8Bit(e.what()));
  }
}

bool VersionCheck::DownloadAndVerify(const QString& target) {
  QFile file(target);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    TDebugWindow::Add(QStringLiteral("lb_versionClick err : ") + file.errorString());
    return false;
  }
  emit BusyChanged(true);
  const HttpResult got = HttpGet(PageValue(QStringLiteral("Download")), false, file,
                                 {[this](qint64 max) { emit ProgressBegin(max); },
                                  [this](qint64 pos) { emit ProgressWork(pos); },
                                  [this] { emit ProgressEnd(); }});
  file.close();
  emit BusyChanged(false);
  // A redirect or an error page is not the installer, whatever its bytes.
  if (!got.ok) {
    TDebugWindow::Add(QStringLiteral("lb_versionClick err : ") + got.error);
    return false;
  }
  try {
    return FileMd5(target) == PageValue(QStringLiteral("Hash")) &&
           QString::number(FileSizeOf(target)) == PageValue(QStringLiteral("FileSize"));
  } catch (const std::exception& e) {
    TDebugWindow::Add(QStringLiteral("lb_versionClick err : ") + QString::fromLocal8Bit(e.what()));
    return false;
  }
}

void VersionCheck::Click() {
  if (colour_ != Colour::Red) return;
  if (platform::ShowMessage(QStringLiteral("지금 업데이트를 진행하시겠습니까?"), platform::MsgButtons::OkCancel,
                            platform::MsgIcon::Question) != platform::MsgResult::Ok)
    return;
  const QString target = DownloadTarget();
  if (!DownloadAndVerify(target)) {
    platform::ShowMessage(kInstallError, platform::MsgButtons::Ok, platform::MsgIcon::Error);
    return;
  }
  const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
  starter_(target, PageValue(QStringLiteral("ExecOption")) + QStringLiteral(" \"") + program + u'"');
}
