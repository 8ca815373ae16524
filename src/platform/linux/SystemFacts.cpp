#include "platform/SystemFacts.h"

#include <QFile>

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/resource.h>
#include <unistd.h>

#include <memory>

namespace platform {
namespace {

QByteArray readSmallFile(const QString& path) {
  QFile file(path);
  // /proc files report size 0, so read until the end rather than by size.
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString unquote(QByteArray value) {
  value = value.trimmed();
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    const char quote = value.front();
    value = value.mid(1, value.size() - 2);
    if (quote == '"') {
      QByteArray plain;
      for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) ++i;
        plain += value[i];
      }
      value = plain;
    }
  }
  return QString::fromUtf8(value);
}

QString firstIpv4OfHostName() {
  char host[256] = {};
  if (gethostname(host, sizeof host - 1) != 0) return {};
  addrinfo hints{};
  hints.ai_family = AF_INET;
  addrinfo* found = nullptr;
  if (getaddrinfo(host, nullptr, &hints, &found) != 0 || !found) return {};
  const std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> owner(found, freeaddrinfo);
  char dotted[INET_ADDRSTRLEN] = {};
  const auto* address = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
  if (!inet_ntop(AF_INET, &address->sin_addr, dotted, sizeof dotted)) return {};
  return QString::fromLatin1(dotted);
}

// The user part of the address space: the process's RLIMIT_AS when one is set, otherwise
// what the architecture gives a process.
double totalAddressSpace() {
  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) return double(limit.rlim_cur);
#if defined(__x86_64__)
  return double(1ULL << 47);
#elif defined(__aarch64__)
  return double(1ULL << 48);
#else
  return sizeof(void*) == 8 ? double(1ULL << 47) : 3.0 * 1024 * 1024 * 1024;
#endif
}

}  // namespace

QString PrettyNameOf(const QByteArray& osRelease) {
  for (const QByteArray& line : osRelease.split('\n')) {
    const QByteArray trimmed = line.trimmed();
    if (trimmed.startsWith("PRETTY_NAME=")) return unquote(trimmed.mid(12));
  }
  return {};
}

double KibibyteField(const QByteArray& procText, const QByteArray& key) {
  for (const QByteArray& line : procText.split('\n')) {
    const qsizetype colon = line.indexOf(':');
    if (colon < 0 || line.left(colon).trimmed() != key) continue;
    const QList<QByteArray> parts = line.mid(colon + 1).simplified().split(' ');
    bool ok = false;
    const qulonglong amount = parts.value(0).toULongLong(&ok);
    if (!ok) return 0;
    return parts.value(1) == "kB" ? double(amount) * 1024 : double(amount);
  }
  return 0;
}

SystemFacts CollectSystemFacts() {
  SystemFacts facts;
  QByteArray osRelease = readSmallFile(QStringLiteral("/etc/os-release"));
  if (osRelease.isEmpty()) osRelease = readSmallFile(QStringLiteral("/usr/lib/os-release"));
  facts.productName = PrettyNameOf(osRelease);
  facts.ipv4 = firstIpv4OfHostName();
  const QByteArray meminfo = readSmallFile(QStringLiteral("/proc/meminfo"));
  facts.availablePhysical = KibibyteField(meminfo, "MemAvailable");
  facts.totalPhysical = KibibyteField(meminfo, "MemTotal");
  facts.totalVirtual = totalAddressSpace();
  const double used = KibibyteField(readSmallFile(QStringLiteral("/proc/self/status")), "VmSize");
  facts.availableVirtual = used < facts.totalVirtual ? facts.totalVirtual - used : 0;
  return facts;
}

}  // namespace platform
