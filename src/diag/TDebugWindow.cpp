#include "diag/TDebugWindow.h"

#include <QFile>
#include <QRegularExpression>

#include <atomic>
#include <memory>
#include <mutex>

#include "diag/Clock.h"
#include "diag/FileErrors.h"
#include "diag/SupportRoutines.h"
#include "platform/DebugView.h"

namespace {

struct DebugLog {
  std::atomic<bool> on{false};  // the window reference: set once, read without a lock
  std::mutex createMutex;       // held while a view is made, which may wait on the UI thread
  std::mutex mutex;             // lines, file and hand-over to the view form one step
  bool fileSave = false;
  QStringList lines;
  std::unique_ptr<platform::DebugView> view;
  QString filePathForTests;
};

DebugLog& debugLog() {
  static DebugLog log;
  return log;
}

QStringList splitLines(const QString& text) {
  static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
  QStringList lines = text.split(lineBreak);
  if (lines.size() > 1 && lines.back().isEmpty()) lines.removeLast();  // a final break opens no line
  return lines;
}

QString filePathLocked(const DebugLog& log) {
  return log.filePathForTests.isEmpty() ? ProgramFolder() + QStringLiteral("debug.txt") : log.filePathForTests;
}

FileFailure writeFile(const QString& path, const QStringList& lines) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    return std::make_unique<EFCreateError>(
        QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()), path);
  QByteArray content;
  for (const QString& line : lines) content += line.toUtf8() + "\r\n";
  if (file.write(content) != content.size() || !file.flush())
    return std::make_unique<EInOutError>(
        QStringLiteral("Cannot write file \"%1\". %2").arg(path, file.errorString()), path);
  return nullptr;
}

}  // namespace

void TDebugWindow::UseDebugWin() {
  DebugLog& log = debugLog();
  std::lock_guard create(log.createMutex);
  if (log.on.load()) return;
  auto view = platform::CreateDebugView([] { TDebugWindow::Clear(); });
  {
    std::lock_guard lock(log.mutex);
    log.view = std::move(view);
  }
  log.on.store(true);
}

void TDebugWindow::UseFileSave() {
  DebugLog& log = debugLog();
  if (!log.on.load()) return;
  std::lock_guard lock(log.mutex);
  log.fileSave = true;
}

void TDebugWindow::Add(const QString& text) {
  DebugLog& log = debugLog();
  if (!log.on.load(std::memory_order_acquire)) return;
  const QStringList added = splitLines(DateText(QStringLiteral("H:i:s"), diag::Now().time()) + ' ' + text);
  FileFailure failure;
  {
    std::lock_guard lock(log.mutex);
    log.lines += added;
    if (log.view) log.view->AppendLines(added);
    if (log.fileSave) failure = writeFile(filePathLocked(log), log.lines);
  }
  if (failure) failure->Raise();
}

void TDebugWindow::Clear() {
  DebugLog& log = debugLog();
  std::lock_guard lock(log.mutex);
  log.lines.clear();
  if (log.view) log.view->Clear();
}

void TDebugWindow::ApplyDiagnosticSwitch() {
  const QString value = qEnvironmentVariable("TALVENORDER_DEBUG");
  if (value != QLatin1String("1") && value != QLatin1String("file")) return;
  UseDebugWin();
  if (value == QLatin1String("file")) UseFileSave();
}

bool TDebugWindow::IsOn() { return debugLog().on.load(); }

bool TDebugWindow::IsSavingToFile() {
  DebugLog& log = debugLog();
  std::lock_guard lock(log.mutex);
  return log.fileSave;
}

QStringList TDebugWindow::Lines() {
  DebugLog& log = debugLog();
  std::lock_guard lock(log.mutex);
  return log.lines;
}

QString TDebugWindow::FilePath() {
  DebugLog& log = debugLog();
  std::lock_guard lock(log.mutex);
  return filePathLocked(log);
}

void TDebugWindow::ResetForTests() {
  DebugLog& log = debugLog();
  std::lock_guard create(log.createMutex);
  std::unique_ptr<platform::DebugView> view;
  {
    std::lock_guard lock(log.mutex);
    log.on.store(false);
    log.fileSave = false;
    log.lines.clear();
    view = std::move(log.view);
  }
}

void TDebugWindow::SetFilePathForTests(const QString& path) {
  DebugLog& log = debugLog();
  std::lock_guard lock(log.mutex);
  log.filePathForTests = path;
}
