#include "print/PrinterPorts.h"

#include <exception>

#include "platform/AppPaths.h"
#include "print/PrintLog.h"
#include "print/SerialPortIni.h"
#include "settings/IniFile.h"

PrinterPorts::PrinterPorts(QObject* parent)
    : QObject(parent), comPort_(QStringLiteral("ComPort")), comPortVirtual_(QStringLiteral("ComPort_virtual")) {
  using platform::SerialPort;
  connect(&comPort_, &SerialPort::BeforeOpen, this, &PrinterPorts::ComPortBeforeOpen);
  connect(&comPort_, &SerialPort::AfterOpen, this, &PrinterPorts::ComPortAfterOpen);
  connect(&comPort_, &SerialPort::BeforeClose, this, &PrinterPorts::ComPortBeforeClose);
  connect(&comPort_, &SerialPort::AfterClose, this, &PrinterPorts::ComPortAfterClose);
  connect(&comPort_, &SerialPort::LineError, this, &PrinterPorts::ComPortError);
  comPort_.SetExceptionHandler([this](const QString& message) { ComPortException(message); });
  // The virtual port has no exception handler: its failures are raised to the caller.
  connect(&comPortVirtual_, &SerialPort::RxChar, this, &PrinterPorts::ComPort_virtualRxChar);
  connect(&comPortVirtual_, &SerialPort::DeviceLost, this, &PrinterPorts::ComPort_virtualLost);
}

void PrinterPorts::PortInit() {
  try {
    const IniFile ini(platform::DataFolder() + "/setting.ini");
    if (ini.SectionExists(comPort_.objectName())) LoadSerialPort(comPort_, ini);
    if (ini.SectionExists(comPortVirtual_.objectName())) {
      LoadSerialPort(comPortVirtual_, ini);
      comPortVirtual_.Open();
    }
  } catch (const std::exception& e) {
    PrintDebugAndErrorLog("PortInit err : " + QString::fromStdString(e.what()));
  }
}

bool PrinterPorts::PortOpen() {
  isPortError_ = false;
  try {
    comPort_.Open();
    return true;
  } catch (const std::exception& e) {
    PrintDebugLog("PortOpen err : " + QString::fromStdString(e.what()));
    return false;
  }
}

void PrinterPorts::PortPrint(const std::string& bytes) {
  try {
    if (isPortError_) {
      PrintDebugLog(QStringLiteral("출력 오류 : ") + BytesLogText(bytes));
      return;
    }
    PrintDebugLog(QStringLiteral("출력 정상 : ") + BytesLogText(bytes));
    comPort_.Write(bytes.data(), qsizetype(bytes.size()));
  } catch (const std::exception& e) {
    isPortError_ = true;
    PrintDebugLog("PortPrint err : " + QString::fromStdString(e.what()));
  }
}

namespace {

// Closing never raises: a failure is traced under the operation's name.
bool CloseTraced(platform::SerialPort& port, const QString& operation) {
  try {
    port.Close();
    return true;
  } catch (const std::exception& e) {
    PrintDebugLog(operation + " err : " + QString::fromStdString(e.what()));
    return false;
  }
}

}  // namespace

bool PrinterPorts::PortClose() { return CloseTraced(comPort_, QStringLiteral("PortClose")); }

bool PrinterPorts::PortVClose() { return CloseTraced(comPortVirtual_, QStringLiteral("PortVClose")); }

void PrinterPorts::ComPortBeforeOpen() { PrintDebugLog(QStringLiteral("ComPort BeforeOpen")); }
void PrinterPorts::ComPortAfterOpen() { PrintDebugLog(QStringLiteral("ComPort AfterOpen")); }
void PrinterPorts::ComPortBeforeClose() { PrintDebugLog(QStringLiteral("ComPort BeforeClose")); }
void PrinterPorts::ComPortAfterClose() { PrintDebugLog(QStringLiteral("ComPort AfterClose")); }

void PrinterPorts::ComPortError() {
  PrintDebugLog(QStringLiteral("ComPort Error"));
  isPortError_ = true;
}

void PrinterPorts::ComPortException(const QString& message) {
  PrintDebugAndErrorLog("ComPortException ComportMsg : " + message);
  isPortError_ = true;
}

void PrinterPorts::ComPort_virtualRxChar(int count) {
  PrintDebugLog("ComPort_virtualRxChar : " + QString::number(count));
  try {
    std::string buffer(size_t(count), '\0');
    buffer.resize(size_t(comPortVirtual_.Read(buffer.data(), count)));
    PrintDebugLog("ComPort_virtualRxChar str : " + BytesLogText(buffer));
    PortOpen();
    // A printer port that did not open has said so through its exception handler already.
    if (comPort_.Connected()) comPort_.Write(buffer.data(), qsizetype(buffer.size()));
    PortClose();
  } catch (const std::exception& e) {
    PrintDebugLog("ComPort_virtualRxChar err : " + QString::fromStdString(e.what()));
  }
}

void PrinterPorts::ComPort_virtualLost(const QString& message) {
  PrintDebugLog("ComPort_virtualRxChar err : " + message);
}
