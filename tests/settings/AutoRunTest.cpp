#include "settings/AutoRun.h"
#include "support/TempDataFolder.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>

namespace {

TEST(AutoRun, CommandLineFromTheProgramFolder) {
  const struct {
    QString folder;
    QString expected;
  } cases[] = {
      {"/opt/Korvane/TalvenOrder", "\"/opt/Korvane/AutoUpdate.exe\" TalvenOrder TalvenOrder.exe"},
      {"/opt/Korvane/TalvenOrder/", "\"/opt/Korvane/AutoUpdate.exe\" TalvenOrder TalvenOrder.exe"},
      {"/home/shop/talvenorder", "\"/home/shop/AutoUpdate.exe\" TalvenOrder TalvenOrder.exe"},
      {"/srv/TalvenOrder/TALVENORDER", "\"/srv//AutoUpdate.exe\" TalvenOrder TalvenOrder.exe"},
      {"/opt/apps", "\"/opt/appsAutoUpdate.exe\" TalvenOrder TalvenOrder.exe"},
  };
  for (const auto& c : cases) EXPECT_EQ(AutoRunCommandLine(c.folder), c.expected) << c.folder.toStdString();
}

QString EntryExec(const TempDataFolder& tmp) {
  QFile f(tmp.root() + "/.config/autostart/TalvenOrder.desktop");
  if (!f.open(QIODevice::ReadOnly)) return "<no entry>";
  for (const QByteArray& line : f.readAll().split('\n')) {
    if (line.startsWith("Exec=")) return QString::fromUtf8(line.mid(5));
  }
  return "<no Exec>";
}

TEST(AutoRun, OnThenOffKeepsAnEmptyEntry) {
  TempDataFolder tmp;
  EXPECT_FALSE(GetAutoRun()) << "no entry at all";

  SetAutoRun(true);
  EXPECT_TRUE(GetAutoRun());
  // The test runs from the build's bin folder, which holds no program name.
  EXPECT_EQ(EntryExec(tmp), AutoRunCommandLine(QCoreApplication::applicationDirPath()));

  SetAutoRun(false);
  EXPECT_FALSE(GetAutoRun());
  EXPECT_EQ(EntryExec(tmp), "");
  EXPECT_TRUE(QFile(AutoRunEntryPath()).exists());
}

}  // namespace
