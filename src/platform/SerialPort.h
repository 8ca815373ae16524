#pragma once
// A serial port component: line settings, open/close, a write that waits for the bytes to leave
// the port, reads, and notifications on the thread that owns the object (the UI thread).
//
// Failures go to the exception handler when one is set (and the call returns normally);
// without one they are thrown as SerialPortError.

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <stdexcept>

namespace platform {

enum class Parity { None, Odd, Even, Mark, Space };
enum class StopBits { One, OneAndHalf, Two };
enum class FlowControl { Hardware, Software, None, Custom };

struct SerialSettings {
  static constexpr int kCustomBaud = 0;  // baudRate value meaning "use customBaudRate"

  QString port = QStringLiteral("COM1");
  int baudRate = 9600;  // one of StandardBaudRates() or kCustomBaud
  int customBaudRate = 9600;
  int dataBits = 8;  // 5 to 8
  Parity parity = Parity::None;
  StopBits stopBits = StopBits::One;
  FlowControl flowControl = FlowControl::None;

  int LineRate() const { return baudRate == kCustomBaud ? customBaudRate : baudRate; }
  int BitsPerByte() const;  // start, data, parity and stop bits (1.5 counts as 2)
  bool operator==(const SerialSettings&) const = default;
};

// The rates offered by name, ascending.
const QList<int>& StandardBaudRates();

// How long a write of `bytes` may take before it counts as failed: a fixed 2000 ms for the
// device to start, plus the time the bytes need on the line, plus a quarter of that as margin.
int WriteWaitMs(qsizetype bytes, const SerialSettings& settings);

class SerialPortError : public std::runtime_error {
 public:
  explicit SerialPortError(const QString& message)
      : std::runtime_error(message.toStdString()), message_(message) {}
  const QString& Message() const { return message_; }

 private:
  QString message_;
};

class SerialPort : public QObject {
  Q_OBJECT

 public:
  using ExceptionHandler = std::function<void(const QString& message)>;

  static constexpr int kBufferSize = 1024;  // at most this many bytes per RxChar

  // The name is the component's name: its settings live in the INI section of that name.
  explicit SerialPort(const QString& name, QObject* parent = nullptr);
  ~SerialPort() override;
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  void SetExceptionHandler(ExceptionHandler handler) { handler_ = std::move(handler); }

  const SerialSettings& Settings() const { return settings_; }
  // Applied at once to an open port; a new port name closes and reopens it on that name.
  void SetSettings(const SerialSettings& settings);
  void SetPort(const QString& port);

  bool Connected() const;
  void Open();   // nothing when open already
  void Close();  // nothing when closed; drops whatever has not left the port yet

  // Writes all bytes and waits until they have left the port, at most WriteWaitMs.
  // False (after reporting) when the port is closed, fails or the wait runs out.
  bool Write(const char* data, qsizetype size);
  // Up to `count` bytes that have arrived, without waiting.
  qsizetype Read(char* buffer, qsizetype count);
  qsizetype InputCount() const;

 signals:
  void BeforeOpen();
  void AfterOpen();
  void BeforeClose();
  void AfterClose();
  void LineError();       // framing, parity, overrun or break seen by the driver
  void RxChar(int count); // bytes waiting, at most kBufferSize
  // The device went away while open (unplugged adapter, pty peer closed) and no exception
  // handler is set; the port stops listening but stays open until closed.
  void DeviceLost(const QString& message);

 private:
  struct Device;

  void Report(const QString& message);
  void ApplySettings();
  void OnReadable();

  SerialSettings settings_;
  ExceptionHandler handler_;
  std::unique_ptr<Device> device_;
};

}  // namespace platform
