#include "settings/AtomicFile.h"
#include "settings/IniFile.h"
#include "settings/ShopSettings.h"
#include "settings/SoundFiles.h"
#include "support/TempDataFolder.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <array>

namespace {

TEST(ShopSettings, NoFileGivesTheDefaults) {
  TempDataFolder tmp;
  for (bool withSounds : {false, true}) {
    SCOPED_TRACE(withSounds);
    const TShop s = ReadShopSettings(withSounds);
    EXPECT_TRUE(s.LoginPhone.isEmpty() && s.LoginSmsPw.isEmpty() && s.ShopId.isEmpty() &&
                s.ShopIdSub.isEmpty() && s.AuthCode.isEmpty() && s.AuthCodeSub.isEmpty());
    EXPECT_FALSE(s.AutoLogin);
    EXPECT_TRUE(s.isAdmin);
    EXPECT_TRUE(s.IconTop);
    EXPECT_EQ(s.PrinterName, "");
    EXPECT_EQ(s.Sound_Repeat, withSounds ? 2 : 0);
    const QString sound = withSounds ? tmp.dataFolder() + "/sound.wav" : QString();
    EXPECT_EQ(s.SoundFile_D, sound);
    EXPECT_EQ(s.SoundFile_T, sound);
    EXPECT_EQ(s.SoundFile_S, sound);
    EXPECT_TRUE(s.shopName.isEmpty() && s.errMsg.isEmpty());
  }
  EXPECT_FALSE(QFile::exists(tmp.file("setting.ini"))) << "reading must not create the file";
}

TEST(ShopSettings, ReadsTheFile) {
  TempDataFolder tmp;
  tmp.writeFile("setting.ini",
                "[SET]\r\nLoginPhone=010-1234-5678\r\nShopId=S7\r\nAuthCode=A7\r\nAutoLogin=true\r\n"
                "isAdmin=0\r\nIconTop=0\r\nPrinterName=LPT1\r\nSound_Repeat=0x2\r\n"
                "SoundFile_D=0\r\nSoundFile_T=7\r\nSoundFile_S=8\r\n");
  const TShop s = ReadShopSettings(true);
  EXPECT_EQ(s.LoginPhone, "010-1234-5678");
  EXPECT_EQ(s.ShopId, "S7");
  EXPECT_EQ(s.AuthCode, "A7");
  EXPECT_FALSE(s.AutoLogin) << "hand-written true reads as the default";
  EXPECT_FALSE(s.isAdmin);
  EXPECT_FALSE(s.IconTop);
  EXPECT_EQ(s.PrinterName, "LPT1");
  EXPECT_EQ(s.Sound_Repeat, 2);
  EXPECT_EQ(s.SoundFile_D, "");
  EXPECT_EQ(s.SoundFile_T, tmp.dataFolder() + "/sound7.wav");
  EXPECT_EQ(s.SoundFile_S, "");
}

TEST(ShopSettings, ComPortMigration) {
  TempDataFolder tmp;
  const struct {
    const char* name;
    QByteArray file;
    QString expected;
  } cases[] = {
      {"serialPortMovesToPrinterName", "[SET]\nShopId=S1\n[ComPort]\nPort=COM3\nBaudRate=9600\n", "COM3"},
      {"noSetSectionYet", "[ComPort]\nPort=COM3\n", "COM3"},
      {"spoolerNameStays", "[SET]\nPrinterName=Receipt Printer\n[ComPort]\nPort=COM3\n", "Receipt Printer"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    tmp.writeFile("setting.ini", c.file);
    EXPECT_EQ(ReadShopSettings(false).PrinterName, c.expected);
    EXPECT_EQ(IniFile(tmp.file("setting.ini")).ReadString("SET", "PrinterName", "missing"), c.expected);
    EXPECT_EQ(IniFile(tmp.file("setting.ini")).ReadString("ComPort", "Port", ""), "COM3");
  }
}

TEST(ShopSettings, MigrationWriteFailureReachesTheCaller) {
  TempDataFolder tmp;
  tmp.writeFile("setting.ini", "[ComPort]\nPort=COM3\n");
  SetBeforeReplaceHookForTest([](const QString& temp) { throw IniWriteError(temp, "disk full"); });
  EXPECT_THROW(ReadShopSettings(false), IniWriteError);
  SetBeforeReplaceHookForTest(nullptr);
  EXPECT_EQ(tmp.readFile("setting.ini"), "[ComPort]\nPort=COM3\n");
  EXPECT_EQ(QDir(tmp.dataFolder()).entryList(QDir::Files), QStringList{"setting.ini"})
      << "the temporary file must go with the failure";
}

TEST(PrintInfo, DefaultsAndValues) {
  TempDataFolder tmp;
  TPrintInfo p = GetPrintInfo();
  EXPECT_EQ((std::array{p.PrintCnt, p.PrintType, p.PrintTime, p.PrintOrigin}), (std::array{1, 0, 0, 1}));
  tmp.writeFile("setting.ini", "[SET]\nPrintCnt=2\nPrintType=1\nPrintTime=0x1\nPrintOrigin=no\n");
  p = GetPrintInfo();
  EXPECT_EQ((std::array{p.PrintCnt, p.PrintType, p.PrintTime, p.PrintOrigin}), (std::array{2, 1, 1, 1}));
}

TEST(SoundFiles, ChoiceAndRepeatGiveThePath) {
  TempDataFolder tmp;
  const QString d = tmp.dataFolder();
  const struct {
    int choice;
    int repeat;
    QString expected;
  } cases[] = {
      {0, 0, ""}, {0, 1, ""}, {0, 2, ""},
      {1, 0, d + "/once_sound.wav"}, {1, 1, d + "/sound.wav"}, {1, 2, d + "/sound.wav"},
      {7, 0, d + "/once_sound7.wav"}, {7, 1, d + "/sound7.wav"}, {7, 2, d + "/sound7.wav"},
      {8, 0, ""}, {8, 1, ""}, {8, 2, ""},
      {-1, 2, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SoundFilePath(c.choice, c.repeat), c.expected) << "choice " << c.choice << " mode " << c.repeat;
  }
  EXPECT_EQ(SoundFileNames().size(), 14);
  EXPECT_TRUE(SoundFileNames().contains("/once_sound4.wav"));
}

}  // namespace
