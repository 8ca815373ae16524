#pragma once
// The data module: the long-lived components the session shares (printer ports now; the
// notification channel and the version check's HTTP client join it). Created first.

#include <QObject>

#include "print/PrinterPorts.h"

class Tdm : public QObject {
  Q_OBJECT

 public:
  explicit Tdm(QObject* parent = nullptr);

  // ComPort, ComPort_virtual and isPortError with PortInit, PortOpen, PortPrint, PortClose
  // and PortVClose.
  PrinterPorts& Ports() { return ports_; }

 private:
  PrinterPorts ports_;
};
