#pragma once
// Facts about the machine that go into an error report.

#include <QByteArray>
#include <QString>

namespace platform {

struct SystemFacts {
  QString productName;  // the operating system's name as it presents itself
  QString servicePack;  // empty where the system has no such notion
  QString ipv4;         // first IPv4 address the host name resolves to, dotted; empty if none
  double availablePhysical = 0;
  double totalPhysical = 0;
  double availableVirtual = 0;  // of this process's address space
  double totalVirtual = 0;
};

SystemFacts CollectSystemFacts();

// Parsers of the Linux sources, exposed so malformed input can be tested.
QString PrettyNameOf(const QByteArray& osRelease);                 // PRETTY_NAME, unquoted
double KibibyteField(const QByteArray& procText, const QByteArray& key);  // "Key: n kB" in bytes; 0 if absent

}  // namespace platform
