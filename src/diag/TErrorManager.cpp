#include "diag/TErrorManager.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <mutex>
#include <optional>

#include "diag/Clock.h"
#include "diag/ErrorReport.h"
#include "diag/FileErrors.h"
#include "diag/FormPost.h"
#include "diag/SupportRoutines.h"

namespace {

struct Manager {
  QString appName;
  QString url;
  QString path;
};

// One lock for the instance and every append, so lines from different threads never interleave
// and two opens of the same file never collide.
std::mutex& managerMutex() {
  static std::mutex m;
  return m;
}

std::optional<Manager>& instance() {
  static std::optional<Manager> manager;
  return manager;
}

std::optional<Manager> snapshot() {
  std::lock_guard lock(managerMutex());
  return instance();
}

FileFailure appendLine(const QString& folder, const QString& message) {
  if (!QFileInfo(folder).isDir()) ForceFolder(folder);  // a failure shows in the open below
  const QDateTime now = diag::Now();
  const QString fileName = folder + now.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".log");
  QFile file(fileName);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
    return std::make_unique<EInOutError>(
        QStringLiteral("Cannot open log file \"%1\". %2").arg(fileName, file.errorString()), fileName);
  const QByteArray line =
      QStringLiteral("%1 >> %2\r\n").arg(now.toString(QStringLiteral("HH:mm:ss")), message).toUtf8();
  if (file.write(line) != line.size() || !file.flush())
    return std::make_unique<EInOutError>(
        QStringLiteral("Cannot write log file \"%1\". %2").arg(fileName, file.errorString()), fileName);
  return nullptr;
}

}  // namespace

void TErrorManager::UseErrorManager() {
  std::lock_guard lock(managerMutex());
  if (!instance()) instance().emplace();
}

void TErrorManager::SetAppName(const QString& name) {
  std::lock_guard lock(managerMutex());
  if (instance()) instance()->appName = name;
}

void TErrorManager::SetURL(const QString& url) {
  std::lock_guard lock(managerMutex());
  if (instance()) instance()->url = url;
}

void TErrorManager::SetPath(const QString& path) {
  std::lock_guard lock(managerMutex());
  if (instance()) instance()->path = path;
}

QString TErrorManager::AppName() {
  const auto manager = snapshot();
  return manager ? manager->appName : QString();
}

QString TErrorManager::URL() {
  const auto manager = snapshot();
  return manager ? manager->url : QString();
}

QString TErrorManager::Path() {
  const auto manager = snapshot();
  return manager ? manager->path : QString();
}

void TErrorManager::Log(const QString& message) {
  FileFailure failure;
  {
    std::lock_guard lock(managerMutex());
    if (!instance()) return;
    failure = appendLine(instance()->path, message);
  }
  if (failure) failure->Raise();
}

void TErrorManager::Send(const QString& report) {
  const auto manager = snapshot();
  if (!manager) return;
  try {
    const QList<FormField> fields = ErrorReportFields(manager->appName, report, CollectEnvironmentText());
    if (!PostForm(manager->url, fields)) return;  // a failed report is never reported
    Log(QStringLiteral("[SendError]\r\n") + report.trimmed());
  } catch (...) {
    // Raised while reporting: dropping it keeps a report from ever raising another one.
  }
}

void TErrorManager::ResetForTests() {
  std::lock_guard lock(managerMutex());
  instance().reset();
}
