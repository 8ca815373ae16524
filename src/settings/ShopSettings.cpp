#include "settings/ShopSettings.h"

#include "diag/TDebugWindow.h"
#include "platform/AppPaths.h"
#include "settings/IniFile.h"
#include "settings/SoundFiles.h"

#include <exception>

namespace {
const QString kSet = QStringLiteral("SET");
}

QString SettingIniPath() { return platform::DataFolder() + QStringLiteral("/setting.ini"); }

TShop ReadShopSettings(bool withSounds) {
  IniFile ini(SettingIniPath());
  TShop shop;
  shop.LoginPhone = ini.ReadString(kSet, QStringLiteral("LoginPhone"), QString());
  shop.LoginSmsPw = ini.ReadString(kSet, QStringLiteral("LoginSmsPw"), QString());
  shop.ShopId = ini.ReadString(kSet, QStringLiteral("ShopId"), QString());
  shop.ShopIdSub = ini.ReadString(kSet, QStringLiteral("ShopIdSub"), QString());
  shop.AuthCode = ini.ReadString(kSet, QStringLiteral("AuthCode"), QString());
  shop.AuthCodeSub = ini.ReadString(kSet, QStringLiteral("AuthCodeSub"), QString());
  shop.AutoLogin = ini.ReadBool(kSet, QStringLiteral("AutoLogin"), false);
  shop.isAdmin = ini.ReadBool(kSet, QStringLiteral("isAdmin"), true);
  shop.IconTop = ini.ReadBool(kSet, QStringLiteral("IconTop"), true);
  shop.PrinterName = ini.ReadString(kSet, QStringLiteral("PrinterName"), QString());

  // Older installations kept the printer only as the serial port's own setting.
  if (shop.PrinterName.isEmpty() && ini.SectionExists(QStringLiteral("ComPort"))) {
    shop.PrinterName = ini.ReadString(QStringLiteral("ComPort"), QStringLiteral("Port"), QString());
    ini.WriteString(kSet, QStringLiteral("PrinterName"), shop.PrinterName);
  }
  if (!withSounds) return shop;

  shop.Sound_Repeat = ini.ReadInteger(kSet, QStringLiteral("Sound_Repeat"), 2);
  shop.SoundFile_D = SoundFilePath(ini.ReadInteger(kSet, QStringLiteral("SoundFile_D"), 1), shop.Sound_Repeat);
  shop.SoundFile_T = SoundFilePath(ini.ReadInteger(kSet, QStringLiteral("SoundFile_T"), 1), shop.Sound_Repeat);
  shop.SoundFile_S = SoundFilePath(ini.ReadInteger(kSet, QStringLiteral("SoundFile_S"), 1), shop.Sound_Repeat);
  return shop;
}

TPrintInfo GetPrintInfo(const TPrintInfo& current) {
  try {
    const IniFile ini(SettingIniPath());
    TPrintInfo info;
    info.PrintCnt = ini.ReadInteger(kSet, QStringLiteral("PrintCnt"), 1);
    info.PrintType = ini.ReadInteger(kSet, QStringLiteral("PrintType"), 0);
    info.PrintTime = ini.ReadInteger(kSet, QStringLiteral("PrintTime"), 0);
    info.PrintOrigin = ini.ReadInteger(kSet, QStringLiteral("PrintOrigin"), 1);
    return info;
  } catch (const std::exception& e) {
    TDebugWindow::Add(QStringLiteral("GetPrintInfo err : ") + QString::fromLocal8Bit(e.what()));
    return current;
  }
}
