#include "settings/AtomicFile.h"
#include "settings/IniFile.h"
#include "support/TempDataFolder.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <optional>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

enum class As { String, Integer, Bool };

struct ReadCase {
  const char* name;
  std::optional<QByteArray> file;  // nullopt: no file at all
  const char* section;
  const char* key;
  As as;
  QString def;
  QString expected;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

QString Read(const IniFile& ini, const ReadCase& c) {
  switch (c.as) {
    case As::String: return ini.ReadString(c.section, c.key, c.def);
    case As::Integer: return QString::number(ini.ReadInteger(c.section, c.key, c.def.toInt()));
    case As::Bool: return ini.ReadBool(c.section, c.key, c.def == "1") ? "1" : "0";
  }
  return {};
}

class IniRead : public testing::TestWithParam<ReadCase> {};

TEST_P(IniRead, ReadsAsTheRulesSay) {
  TempDataFolder tmp;
  const ReadCase& c = GetParam();
  if (c.file) tmp.writeFile("setting.ini", *c.file);
  EXPECT_EQ(Read(IniFile(tmp.file("setting.ini")), c), c.expected);
}

const QByteArray kLong = "[SET]\nK=" + QByteArray(3000, 'a') + "\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, IniRead,
    testing::Values(
        ReadCase{"plain", "[SET]\nShopId=S1\n", "SET", "ShopId", As::String, "d", "S1"},
        ReadCase{"namesIgnoreCase", "[set]\nshopid=S1\n", "SET", "ShopID", As::String, "d", "S1"},
        ReadCase{"crlf", "[A]\r\nK=v1\r\n[SET]\r\nK=v2\r\n", "SET", "K", As::String, "d", "v2"},
        ReadCase{"byteOrderMark", "\xEF\xBB\xBF[SET]\nK=v\n", "SET", "K", As::String, "d", "v"},
        ReadCase{"utf8", "[SET]\nK=한글 가게\n", "SET", "K", As::String, "d", "한글 가게"},
        ReadCase{"blanksAroundEquals", "[SET]\n K = v w \n", "SET", "K", As::String, "d", "v w"},
        ReadCase{"emptyValueIsNotMissing", "[SET]\nK=\n", "SET", "K", As::String, "d", ""},
        ReadCase{"firstKeyCounts", "[SET]\nK=one\nK=two\n", "SET", "K", As::String, "d", "one"},
        ReadCase{"keyOfOtherSection", "[A]\nK=a\n[SET]\nX=1\n", "SET", "K", As::String, "d", "d"},
        ReadCase{"missingFile", std::nullopt, "SET", "K", As::String, "d", "d"},
        ReadCase{"missingSection", "[A]\nK=v\n", "SET", "K", As::String, "d", "d"},
        ReadCase{"missingKey", "[SET]\nX=v\n", "SET", "K", As::String, "d", "d"},
        ReadCase{"commentIsNoKey", "[SET]\n;K=v\n", "SET", ";K", As::String, "d", "d"},
        ReadCase{"longValueCut", kLong, "SET", "K", As::String, "d", QString(2047, 'a')},
        ReadCase{"decimal", "[SET]\nK=42\n", "SET", "K", As::Integer, "7", "42"},
        ReadCase{"negative", "[SET]\nK=-3\n", "SET", "K", As::Integer, "7", "-3"},
        ReadCase{"hexLower", "[SET]\nK=0x1f\n", "SET", "K", As::Integer, "7", "31"},
        ReadCase{"hexUpperPrefix", "[SET]\nK=0X2\n", "SET", "K", As::Integer, "7", "2"},
        ReadCase{"hexAllBits", "[SET]\nK=0xFFFFFFFF\n", "SET", "K", As::Integer, "7", "-1"},
        ReadCase{"hexPrefixOnly", "[SET]\nK=0x\n", "SET", "K", As::Integer, "7", "7"},
        ReadCase{"hexBadDigit", "[SET]\nK=0x1g\n", "SET", "K", As::Integer, "7", "7"},
        ReadCase{"hexTooLong", "[SET]\nK=0x100000000\n", "SET", "K", As::Integer, "7", "7"},
        ReadCase{"dollarHexIsNotHex", "[SET]\nK=$10\n", "SET", "K", As::Integer, "7", "7"},
        ReadCase{"trailingText", "[SET]\nK=12ab\n", "SET", "K", As::Integer, "7", "7"},
        ReadCase{"overflow", "[SET]\nK=99999999999\n", "SET", "K", As::Integer, "7", "7"},
        ReadCase{"emptyInteger", "[SET]\nK=\n", "SET", "K", As::Integer, "7", "7"},
        ReadCase{"boolTrueTextDefaultFalse", "[SET]\nK=true\n", "SET", "K", As::Bool, "0", "0"},
        ReadCase{"boolTrueTextDefaultTrue", "[SET]\nK=true\n", "SET", "K", As::Bool, "1", "1"},
        ReadCase{"boolNonZero", "[SET]\nK=2\n", "SET", "K", As::Bool, "0", "1"},
        ReadCase{"boolZero", "[SET]\nK=0\n", "SET", "K", As::Bool, "1", "0"},
        ReadCase{"boolMissing", "[SET]\n", "SET", "K", As::Bool, "1", "1"}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

class IniWrite : public testing::Test {
 protected:
  TempDataFolder tmp;
  QString path = tmp.file("setting.ini");
};

TEST_F(IniWrite, WriteIsOnDiskForAnyReader) {
  IniFile writer(path);
  writer.WriteString("SET", "ShopId", "S1");
  writer.WriteInteger("SET", "PrintCnt", 2);
  writer.WriteBool("SET", "AutoLogin", true);
  writer.WriteBool("SET", "IconTop", false);
  EXPECT_EQ(tmp.readFile("setting.ini"), "[SET]\nShopId=S1\nPrintCnt=2\nAutoLogin=1\nIconTop=0\n");

  // A reader made before the write must not serve an old copy.
  const IniFile reader(path);
  writer.WriteString("set", "shopid", "S2");
  EXPECT_EQ(reader.ReadString("SET", "ShopId", ""), "S2");
  EXPECT_EQ(reader.ReadInteger("SET", "PrintCnt", 0), 2);
  EXPECT_TRUE(reader.ReadBool("SET", "AutoLogin", false));
  EXPECT_EQ(reader.ReadSection("SET"), QStringList({"ShopId", "PrintCnt", "AutoLogin", "IconTop"}));
}

TEST_F(IniWrite, EditsKeepTheRestOfTheFile) {
  tmp.writeFile("setting.ini", "; written by hand\r\n[SET]\r\nA=1\r\n\r\n[ComPort]\r\nPort=COM3\r\n");
  IniFile ini(path);
  ini.WriteString("SET", "B", "2");   // new key lands in its own section
  ini.WriteString("SET", "A", "9");   // existing key is replaced in place
  ini.WriteString("New", "C", "3");   // new section at the end
  EXPECT_EQ(tmp.readFile("setting.ini"),
            "; written by hand\r\n[SET]\r\nA=9\r\nB=2\r\n\r\n[ComPort]\r\nPort=COM3\r\n\r\n[New]\r\nC=3\r\n");
}

TEST_F(IniWrite, DeleteKeyAndEraseSection) {
  tmp.writeFile("setting.ini", "[SET]\nA=1\nB=2\nA=3\n[ComPort_virtual]\nPort=COM4\nBaudRate=9600\n[X]\nY=1\n");
  IniFile ini(path);
  ini.DeleteKey("set", "a");
  EXPECT_EQ(ini.ReadString("SET", "A", "gone"), "gone") << "a duplicate must not resurface";
  EXPECT_EQ(ini.ReadString("SET", "B", ""), "2");

  EXPECT_TRUE(ini.SectionExists("comport_VIRTUAL"));
  ini.EraseSection("ComPort_virtual");
  EXPECT_FALSE(ini.SectionExists("ComPort_virtual"));
  EXPECT_TRUE(ini.SectionExists("X"));
  EXPECT_EQ(tmp.readFile("setting.ini"), "[SET]\nB=2\n[X]\nY=1\n");

  ini.DeleteKey("Nope", "Nope");
  ini.EraseSection("Nope");
  EXPECT_EQ(tmp.readFile("setting.ini"), "[SET]\nB=2\n[X]\nY=1\n");
}

TEST(IniWriteErrors, FailuresNameTheFileAndLeaveItAlone) {
  TempDataFolder tmp(false);  // no data folder
  const QString missing = tmp.file("setting.ini");
  try {
    IniFile(missing).WriteString("SET", "ShopId", "S1");
    FAIL() << "write into a missing folder succeeded";
  } catch (const IniWriteError& e) {
    EXPECT_EQ(e.File(), missing);
    EXPECT_TRUE(QString(e.what()).contains(missing));
  }

  // A line break would plant keys of its own; the file keeps its text.
  tmp.writeFile("setting.ini", "[SET]\nShopId=S1\n");
  IniFile ini(missing);
  EXPECT_THROW(ini.WriteString("SET", "LoginPhone", "010\nAuthCode=forged"), IniWriteError);
  EXPECT_THROW(ini.WriteString("SET", "A=B", "1"), IniWriteError);
  EXPECT_THROW(ini.WriteString("S]ET", "A", "1"), IniWriteError);
  EXPECT_EQ(tmp.readFile("setting.ini"), "[SET]\nShopId=S1\n");
}

TEST(IniWriteInterrupted, KilledBeforeTheRenameLeavesTheOldFileWhole) {
  TempDataFolder tmp;
  const QByteArray old = "[SET]\nShopId=S1\nAuthCode=A1\n";
  tmp.writeFile("setting.ini", old);
  const QString big(100000, 'x');

  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(ready[0]);
    SetBeforeReplaceHookForTest([&](const QString&) {
      const char c = 'r';
      if (write(ready[1], &c, 1) == 1) pause();
    });
    try {
      IniFile(tmp.file("setting.ini")).WriteString("SET", "AuthCode", big);
    } catch (...) {
    }
    _exit(1);
  }
  close(ready[1]);
  char c = 0;
  const bool reachedRename = read(ready[0], &c, 1) == 1;
  close(ready[0]);
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(reachedRename) << "the child never got to the rename";
  EXPECT_TRUE(WIFSIGNALED(status));

  EXPECT_EQ(tmp.readFile("setting.ini"), old);
  const QStringList temps = QDir(tmp.dataFolder()).entryList({"setting.ini.*"}, QDir::Files);
  ASSERT_EQ(temps.size(), 1);
  EXPECT_TRUE(tmp.readFile(temps[0]).contains(big.toUtf8())) << "the new text was fully written";

  // The next write simply succeeds.
  IniFile(tmp.file("setting.ini")).WriteString("SET", "AuthCode", "A2");
  EXPECT_EQ(tmp.readFile("setting.ini"), "[SET]\nShopId=S1\nAuthCode=A2\n");
}

}  // namespace
