#include "PrintWorld.h"

#include <QDate>
#include <QDir>
#include <QFile>

#include "diag/TDebugWindow.h"
#include "diag/TErrorManager.h"
#include "platform/PortNames.h"

PrintWorld::PrintWorld() {
  TDebugWindow::ResetForTests();
  TDebugWindow::UseDebugWin();
  TErrorManager::ResetForTests();
  TErrorManager::UseErrorManager();
  TErrorManager::SetPath(data.dataFolder() + "/log/");
}

PrintWorld::~PrintWorld() {
  TErrorManager::ResetForTests();
  TDebugWindow::ResetForTests();
}

QStringList PrintWorld::DebugLines() const {
  QStringList lines;
  for (const QString& line : TDebugWindow::Lines()) lines << line.mid(9);  // "HH:MM:SS "
  return lines;
}

int PrintWorld::DebugCount(const QString& prefix) const {
  int n = 0;
  for (const QString& line : DebugLines()) n += line.startsWith(prefix) ? 1 : 0;
  return n;
}

QString PrintWorld::ErrorLog() const {
  QFile f(data.dataFolder() + "/log/" + QDate::currentDate().toString("yyyyMMdd") + ".log");
  return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

void PrintWorld::LinkPort(const QString& name, const QString& target) const {
  QDir().mkpath(platform::PortLinkFolder());
  const QString link = platform::PortLinkFolder() + "/" + name;
  QFile::remove(link);
  ASSERT_TRUE(QFile::link(target, link)) << link.toStdString();
}

void PrintTo(const QByteArray& bytes, std::ostream* os) {
  *os << bytes.size() << " bytes: " << bytes.left(64).toHex(' ').toStdString()
      << (bytes.size() > 64 ? " ..." : "");
}

void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

void PrintTo(const QStringList& list, std::ostream* os) {
  *os << '[' << list.join(", ").toStdString() << ']';
}
