#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "diag/FileErrors.h"
#include "diag/SupportRoutines.h"

namespace {

QString withSlash(QString path) {
  if (!path.endsWith('/')) path += '/';
  return path;
}

// The Windows mask "*.*" means every file, with or without a dot in its name.
QString nameFilterOf(const QString& mask) { return mask == "*.*" ? QStringLiteral("*") : mask; }

}  // namespace

QString ProgramFolder() {
  const QString exe = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
  if (!exe.isEmpty()) return withSlash(QFileInfo(exe).absolutePath());
  return withSlash(QCoreApplication::applicationDirPath());
}

QString TempFolder() { return withSlash(QDir::tempPath()); }

qint64 FileSizeOf(const QString& path) {
  const QFileInfo info(path);
  return info.isFile() ? info.size() : 0;
}

QString FileMd5(const QString& path) {
  QFile file(path);
  if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
    throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()), path);
  QCryptographicHash hash(QCryptographicHash::Md5);
  if (!hash.addData(&file))
    throw EFOpenError(QStringLiteral("Cannot read file \"%1\". %2").arg(path, file.errorString()), path);
  return QString::fromLatin1(hash.result().toHex());
}

int DeleteOldFiles(const QString& folder, int days, const QString& mask) {
  return DeleteOldFiles(folder, days, mask, QDateTime::currentDateTime());
}

int DeleteOldFiles(const QString& folder, int days, const QString& mask, const QDateTime& now) {
  // An empty folder name would mean the working folder: never delete there by accident.
  if (folder.isEmpty()) return 0;
  const QDir dir(folder);
  if (!dir.exists()) return 0;
  const QDateTime limit = now.addSecs(-qint64(days) * 24 * 60 * 60);
  int tried = 0;
  const auto entries = dir.entryInfoList({nameFilterOf(mask)},
                                         QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  for (const QFileInfo& entry : entries) {
    if (entry.isDir()) continue;
    if (days != 0 && !(entry.lastModified() < limit)) continue;
    QFile::remove(entry.filePath());
    ++tried;
  }
  return tried;
}

bool ForceFolder(const QString& path) {
  if (!QDir::isAbsolutePath(path)) return false;
  const QString full = withSlash(path);
  for (qsizetype i = 0; i < full.size(); ++i) {
    if (full[i] != '/') continue;
    const QString prefix = full.left(i + 1);
    if (QFileInfo(prefix).isDir()) continue;
    if (!QDir().mkdir(prefix)) return false;
  }
  return true;
}

QString OsFamilyName() { return QStringLiteral("wvUnknown"); }

bool IsVistaOrLater() { return true; }

QString FileVersionText() {
  const QString version = QStringLiteral(TALVEN_VERSION_TEXT);
  return version.isEmpty() ? QString() : QStringLiteral(" Ver ") + version;
}
