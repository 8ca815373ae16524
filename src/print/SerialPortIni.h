#pragma once
// A serial port component's settings in the INI section named after the component
// (keys Port, BaudRate, CustomBaudRate, StopBits, DataBits, Parity, FlowControl).

#include <QStringList>

#include "platform/SerialPort.h"

class IniFile;

// A missing key keeps the value of `current`; value words match without regard to case and an
// unknown word reads as 9600 baud, 1 stop bit, 8 data bits, no parity, "Custom" flow control.
platform::SerialSettings ReadSerialSettings(const IniFile& ini, const QString& section,
                                            const platform::SerialSettings& current);
// Throws IniWriteError when the file cannot be written.
void WriteSerialSettings(IniFile& ini, const QString& section, const platform::SerialSettings& settings);

// The component's own load and store: the section is the component's name. Loading applies
// the settings to the port, so failures go where the port reports them.
void LoadSerialPort(platform::SerialPort& port, const IniFile& ini);
void StoreSerialPort(const platform::SerialPort& port, IniFile& ini);

// The BaudRate words in the order the settings window lists them ("Custom" first).
QStringList BaudRateWords();
