#include "print/SerialPortIni.h"

#include <utility>

#include "settings/IniFile.h"

namespace {

using platform::FlowControl;
using platform::Parity;
using platform::SerialSettings;
using platform::StopBits;

constexpr std::pair<const char*, StopBits> kStopBits[] = {
    {"1", StopBits::One}, {"1.5", StopBits::OneAndHalf}, {"2", StopBits::Two}};
constexpr std::pair<const char*, int> kDataBits[] = {{"5", 5}, {"6", 6}, {"7", 7}, {"8", 8}};
constexpr std::pair<const char*, Parity> kParity[] = {{"None", Parity::None},
                                                      {"Odd", Parity::Odd},
                                                      {"Even", Parity::Even},
                                                      {"Mark", Parity::Mark},
                                                      {"Space", Parity::Space}};
constexpr std::pair<const char*, FlowControl> kFlow[] = {{"Hardware", FlowControl::Hardware},
                                                         {"Software", FlowControl::Software},
                                                         {"None", FlowControl::None},
                                                         {"Custom", FlowControl::Custom}};

template <typename T, size_t N>
T FromWord(const std::pair<const char*, T> (&table)[N], const QString& word, T unknown) {
  for (const auto& [text, value] : table)
    if (word.trimmed().compare(QLatin1String(text), Qt::CaseInsensitive) == 0) return value;
  return unknown;
}

template <typename T, size_t N>
QString ToWord(const std::pair<const char*, T> (&table)[N], T value) {
  for (const auto& [text, v] : table)
    if (v == value) return QLatin1String(text);
  return QLatin1String(table[0].first);
}

class Section {
 public:
  Section(const IniFile& ini, const QString& name) : ini_(ini), name_(name), keys_(ini.ReadSection(name)) {}
  bool Has(const QString& key) const { return keys_.contains(key, Qt::CaseInsensitive); }
  QString Word(const QString& key) const { return ini_.ReadString(name_, key, QString()); }

 private:
  const IniFile& ini_;
  QString name_;
  QStringList keys_;
};

}  // namespace

QStringList BaudRateWords() {
  QStringList words{QStringLiteral("Custom")};
  for (int rate : platform::StandardBaudRates()) words << QString::number(rate);
  return words;
}

SerialSettings ReadSerialSettings(const IniFile& ini, const QString& section, const SerialSettings& current) {
  const Section s(ini, section);
  SerialSettings r = current;
  if (s.Has("Port")) r.port = s.Word("Port");
  if (s.Has("BaudRate")) {
    const QString word = s.Word("BaudRate").trimmed();
    if (word.compare(QLatin1String("Custom"), Qt::CaseInsensitive) == 0) {
      r.baudRate = SerialSettings::kCustomBaud;
      r.customBaudRate = ini.ReadInteger(section, "CustomBaudRate", 9600);
    } else {
      r.baudRate = BaudRateWords().contains(word) ? word.toInt() : 9600;
    }
  }
  if (s.Has("StopBits")) r.stopBits = FromWord(kStopBits, s.Word("StopBits"), StopBits::One);
  if (s.Has("DataBits")) r.dataBits = FromWord(kDataBits, s.Word("DataBits"), 8);
  if (s.Has("Parity")) r.parity = FromWord(kParity, s.Word("Parity"), Parity::None);
  if (s.Has("FlowControl")) r.flowControl = FromWord(kFlow, s.Word("FlowControl"), FlowControl::Custom);
  return r;
}

void WriteSerialSettings(IniFile& ini, const QString& section, const SerialSettings& settings) {
  ini.WriteString(section, "Port", settings.port);
  if (settings.baudRate == SerialSettings::kCustomBaud) {
    ini.WriteString(section, "BaudRate", QStringLiteral("Custom"));
    ini.WriteInteger(section, "CustomBaudRate", settings.customBaudRate);
  } else {
    ini.WriteString(section, "BaudRate", QString::number(settings.baudRate));
  }
  ini.WriteString(section, "StopBits", ToWord(kStopBits, settings.stopBits));
  ini.WriteString(section, "DataBits", ToWord(kDataBits, settings.dataBits));
  ini.WriteString(section, "Parity", ToWord(kParity, settings.parity));
  ini.WriteString(section, "FlowControl", ToWord(kFlow, settings.flowControl));
}

void LoadSerialPort(platform::SerialPort& port, const IniFile& ini) {
  port.SetSettings(ReadSerialSettings(ini, port.objectName(), port.Settings()));
}

void StoreSerialPort(const platform::SerialPort& port, IniFile& ini) {
  WriteSerialSettings(ini, port.objectName(), port.Settings());
}
