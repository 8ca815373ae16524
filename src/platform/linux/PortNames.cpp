#include "platform/PortNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <map>

#include "platform/AppPaths.h"

namespace platform {
namespace {

constexpr int kMaxPortNumber = 9999;

bool EntryExists(const QString& path) {  // the entry itself, dangling links included
  struct stat st;
  return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

bool IsCharDevice(const QString& path) {  // follows links
  struct stat st;
  return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISCHR(st.st_mode);
}

// An on-board UART the kernel found; the 8250 driver keeps nodes for absent ones with type 0.
bool OnboardSerialPresent(int index) {
  const QString node = QStringLiteral("/dev/ttyS%1").arg(index);
  if (!IsCharDevice(node)) return false;
  QFile type(QStringLiteral("/sys/class/tty/ttyS%1/type").arg(index));
  if (!type.open(QIODevice::ReadOnly)) return false;
  return type.readAll().trimmed().toInt() != 0;
}

QString PortLink(const QString& prefix, int number) {
  return PortLinkFolder() + "/" + prefix + QString::number(number);
}

QString DevicePath(const QString& name, const QString& prefix, const QString& fallback) {
  const std::optional<int> n = PortNumber(name, prefix);
  if (!n) return {};
  const QString link = PortLink(prefix, *n);
  if (EntryExists(link)) return link;
  return fallback + QString::number(*n - 1);
}

// ports/COMn entries by number.
std::map<int, QString> LinkedComPorts() {
  std::map<int, QString> ports;
  const QDir dir(PortLinkFolder());
  for (const QString& entry : dir.entryList({QStringLiteral("COM*")}, QDir::AllEntries | QDir::System)) {
    if (const std::optional<int> n = PortNumber(entry, QStringLiteral("COM")))
      ports[*n] = dir.filePath(entry);
  }
  return ports;
}

}  // namespace

std::optional<int> PortNumber(const QString& name, const QString& prefix) {
  if (!name.startsWith(prefix)) return std::nullopt;
  const QStringView digits = QStringView(name).mid(prefix.size());
  if (digits.isEmpty() || digits.size() > 4 || digits.front() == u'0') return std::nullopt;
  if (!std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
    return std::nullopt;
  const int n = digits.toInt();
  if (n < 1 || n > kMaxPortNumber) return std::nullopt;
  return n;
}

QString PortLinkFolder() { return DataFolder() + "/ports"; }

QString ComDevicePath(const QString& name) {
  // An adapter plugged in since the last port list has no link yet.
  const std::optional<int> n = PortNumber(name, QStringLiteral("COM"));
  if (n && !EntryExists(PortLink(QStringLiteral("COM"), *n))) LinkUsbSerialAdapters();
  return DevicePath(name, QStringLiteral("COM"), QStringLiteral("/dev/ttyS"));
}

QString LptDevicePath(const QString& name) {
  return DevicePath(name, QStringLiteral("LPT"), QStringLiteral("/dev/lp"));
}

QStringList ComPortNames() {
  LinkUsbSerialAdapters();
  std::map<int, QString> present;
  const std::map<int, QString> linked = LinkedComPorts();
  for (const auto& [n, path] : linked) {
    if (IsCharDevice(path)) present[n] = QStringLiteral("COM%1").arg(n);
  }
  const QDir sys(QStringLiteral("/sys/class/tty"));
  for (const QString& entry : sys.entryList({QStringLiteral("ttyS*")}, QDir::AllEntries | QDir::System)) {
    bool ok = false;
    const int index = entry.mid(4).toInt(&ok);
    if (ok && index < kMaxPortNumber && !linked.count(index + 1) && OnboardSerialPresent(index))
      present[index + 1] = QStringLiteral("COM%1").arg(index + 1);
  }
  QStringList names;
  for (const auto& entry : present) names << entry.second;
  return names;
}

QStringList LinkUsbSerialAdapters(const QString& byIdFolder, const QString& devFolder) {
  // What is linked already, by the link's own text and by the device it reaches now.
  QSet<QString> linkedTargets;
  const std::map<int, QString> linked = LinkedComPorts();
  for (const auto& entry : linked) {
    const QFileInfo link(entry.second);
    if (!link.isSymLink()) continue;
    linkedTargets.insert(link.symLinkTarget());
    const QString device = link.canonicalFilePath();
    if (!device.isEmpty()) linkedTargets.insert(device);
  }

  QStringList adapters;  // stable names first, then devices udev left unnamed
  QSet<QString> namedDevices;
  const QDir byId(byIdFolder);
  for (const QString& entry : byId.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
    const QString path = byId.filePath(entry);
    if (!IsCharDevice(path)) continue;
    adapters << path;
    namedDevices.insert(QFileInfo(path).canonicalFilePath());
  }
  const QDir dev(devFolder);
  for (const QString& entry : dev.entryList({QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*")},
                                            QDir::AllEntries | QDir::System, QDir::Name)) {
    const QString path = dev.filePath(entry);
    if (IsCharDevice(path) && !namedDevices.contains(QFileInfo(path).canonicalFilePath()))
      adapters << path;
  }

  QStringList made;
  int next = 1;
  for (const QString& adapter : adapters) {
    if (linkedTargets.contains(adapter) || linkedTargets.contains(QFileInfo(adapter).canonicalFilePath()))
      continue;
    while (next <= kMaxPortNumber &&
           (EntryExists(PortLink(QStringLiteral("COM"), next)) || OnboardSerialPresent(next - 1)))
      ++next;
    if (next > kMaxPortNumber || !QDir().mkpath(PortLinkFolder())) break;
    const QString link = PortLink(QStringLiteral("COM"), next);
    // A data folder we cannot write leaves the adapter unnamed; the list simply lacks it.
    if (::symlink(QFile::encodeName(adapter).constData(), QFile::encodeName(link).constData()) != 0)
      break;
    made << QStringLiteral("COM%1").arg(next);
  }
  return made;
}

}  // namespace platform
