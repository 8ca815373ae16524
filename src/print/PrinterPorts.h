#pragma once
// The printer's serial port and the virtual pass-through port, with the error flag the serial
// print jobs read. Everything runs on the UI thread, so the flag needs no lock.

#include <QObject>

#include <string>

#include "platform/SerialPort.h"

class PrinterPorts : public QObject {
  Q_OBJECT

 public:
  explicit PrinterPorts(QObject* parent = nullptr);

  platform::SerialPort& ComPort() { return comPort_; }
  platform::SerialPort& ComPort_virtual() { return comPortVirtual_; }
  bool isPortError() const { return isPortError_; }

  // Loads both sections of setting.ini and opens the virtual port when it has one. Never fails.
  void PortInit();
  bool PortOpen();  // clears isPortError first
  void PortPrint(const std::string& bytes);
  bool PortClose();
  bool PortVClose();

 private:
  void ComPortBeforeOpen();
  void ComPortAfterOpen();
  void ComPortBeforeClose();
  void ComPortAfterClose();
  void ComPortError();
  void ComPortException(const QString& message);
  void ComPort_virtualRxChar(int count);
  void ComPort_virtualLost(const QString& message);

  platform::SerialPort comPort_;
  platform::SerialPort comPortVirtual_;
  bool isPortError_ = false;
};
