#include "settings/AutoRun.h"

#include "diag/SupportRoutines.h"
#include "diag/TDebugWindow.h"
#include "platform/AppPaths.h"
#include "settings/AtomicFile.h"
#include "settings/IniFile.h"

#include <QDir>
#include <QFileInfo>

#include <exception>

namespace {

const QString kEntrySection = QStringLiteral("Desktop Entry");
const QString kProgram = QStringLiteral("TalvenOrder");

// Exec quoting of the desktop entry format: inside a quoted argument " ` $ \ need a backslash,
// and the value itself escapes every backslash once more; a literal % is doubled.
QString ExecValue(const QString& updater) {
  QString quoted;
  for (QChar c : updater) {
    if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') quoted += u'\\';
    quoted += c;
  }
  quoted.replace(u'\\', QStringLiteral("\\\\")).replace(u'%', QStringLiteral("%%"));
  return u'"' + quoted + QStringLiteral("\" %1 %1.exe").arg(kProgram);
}

QByteArray EntryText(const QString& exec) {
  QString text = QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=%2\n").arg(kProgram, exec);
  text += exec.isEmpty() ? QStringLiteral("Hidden=true\n") : QStringLiteral("X-GNOME-Autostart-enabled=true\n");
  return text.toUtf8();
}

QString FolderWithoutSeparator(QString folder) {
  while (folder.size() > 1 && folder.endsWith(u'/')) folder.chop(1);
  return folder;
}

}  // namespace

QString AutoRunEntryPath() {
  return platform::RoamingAppDataFolder() + QStringLiteral("/autostart/TalvenOrder.desktop");
}

QString UpdaterPath(const QString& programFolder) {
  QString folder = FolderWithoutSeparator(programFolder);
  folder.remove(kProgram, Qt::CaseInsensitive);
  return folder + QStringLiteral("AutoUpdate.exe");
}

QString AutoRunCommandLine(const QString& programFolder) {
  return u'"' + UpdaterPath(programFolder) + QStringLiteral("\" %1 %1.exe").arg(kProgram);
}

void SetAutoRun(bool on) {
  try {
    const QString updater = UpdaterPath(ProgramFolder());
    if (on && (updater.contains(u'\n') || updater.contains(u'\r')))
      throw std::runtime_error("program folder holds a line break");
    const QString path = AutoRunEntryPath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
      throw std::runtime_error("cannot create " + QFileInfo(path).absolutePath().toStdString());
    ReplaceFileAtomically(path, EntryText(on ? ExecValue(updater) : QString()));
  } catch (const std::exception& e) {
    TDebugWindow::Add(QStringLiteral("SetAutoRun err : ") + QString::fromLocal8Bit(e.what()));
  }
}

bool GetAutoRun() {
  try {
    return !IniFile(AutoRunEntryPath()).ReadString(kEntrySection, QStringLiteral("Exec"), QString()).isEmpty();
  } catch (const std::exception& e) {
    TDebugWindow::Add(QStringLiteral("GetAutoRun err : ") + QString::fromLocal8Bit(e.what()));
    return false;
  }
}
