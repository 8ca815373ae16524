#pragma once
// Port names as the shop sees them (COM1, LPT2) and the devices behind them.
//
// COMn is the data folder's ports/COMn entry when there is one, else /dev/ttyS(n-1).
// LPTn is ports/LPTn when present, else /dev/lp(n-1).
// USB serial adapters get a ports/COMn link of their own the first time they are seen, so their
// name survives re-plugging and reboots and the shop never edits a file.

#include <QString>
#include <QStringList>

#include <optional>

namespace platform {

// n for "COMn"/"LPTn" (prefix given, exact case, n >= 1 without leading zeros); else nothing.
std::optional<int> PortNumber(const QString& name, const QString& prefix);

QString PortLinkFolder();  // data folder + "/ports"

// The device path for a COM or LPT name; empty when the name is not of that form.
QString ComDevicePath(const QString& name);
QString LptDevicePath(const QString& name);

// Every COM name whose device is a present serial port, in number order. Links new USB adapters
// first (see LinkUsbSerialAdapters).
QStringList ComPortNames();

// Gives each USB serial adapter without a link the lowest free COM number: one with no
// ports/COMn entry and no present /dev/ttyS(n-1). Adapters are taken from byIdFolder (stable
// names) and, for those udev did not name, devFolder's ttyUSB*/ttyACM*. Returns the names made.
QStringList LinkUsbSerialAdapters(const QString& byIdFolder = QStringLiteral("/dev/serial/by-id"),
                                  const QString& devFolder = QStringLiteral("/dev"));

}  // namespace platform
