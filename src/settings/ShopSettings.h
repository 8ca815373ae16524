#pragma once
// The session and print preferences as setting.ini holds them (data folder, section "SET").

#include "api/define.h"

#include <QString>

QString SettingIniPath();  // data folder + "/setting.ini"

// Identity and preferences; with sounds also the repeat mode and the three alert paths.
// The server fields stay empty: the shop query fills them. A folded-in "ComPort" port name is
// written back to "PrinterName" at once; a failure of that write throws IniWriteError.
TShop ReadShopSettings(bool withSounds);

// The four print preferences, all or nothing: on a read failure the debug log gets the error
// and current comes back as it was.
TPrintInfo GetPrintInfo(const TPrintInfo& current = TPrintInfo());
