#include "settings/ConfigIniStore.h"
#include "settings/IniWriteError.h"
#include "support/TempDataFolder.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QFile>

namespace {

TEST(ConfigIniStore, WritesWholeFileAndCreatesItsFolder) {
  TempDataFolder tmp(false);
  ConfigIniStore store;
  EXPECT_EQ(store.FileName(), tmp.file("config.ini"));
  EXPECT_EQ(store.ReadInteger("TFm_Wait", "Top", 0), 0);

  store.WriteInteger("TFm_Wait", "Top", 120);
  store.WriteInteger("TFm_Wait", "Left", -40);
  EXPECT_EQ(tmp.readFile("config.ini"), "[TFm_Wait]\nTop=120\nLeft=-40\n");

  // Held in memory: a later change on disk is not seen, and the next write puts back the whole.
  tmp.writeFile("config.ini", "[TFm_Wait]\nTop=1\n");
  EXPECT_EQ(store.ReadInteger("tfm_wait", "top", 0), 120);
  store.WriteInteger("TFm_Wait", "Top", 121);
  EXPECT_EQ(tmp.readFile("config.ini"), "[TFm_Wait]\nTop=121\nLeft=-40\n");

  EXPECT_EQ(ConfigIniStore().ReadInteger("TFm_Wait", "Left", 0), -40);
}

TEST(ConfigIniStore, FailedWriteChangesNothing) {
  TempDataFolder tmp;
  const QString blocker = tmp.root() + "/file";
  QFile f(blocker);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  ConfigIniStore store(blocker + "/sub/config.ini");  // its folder cannot be made
  EXPECT_THROW(store.WriteInteger("TFm_Wait", "Top", 5), IniWriteError);
  EXPECT_EQ(store.ReadInteger("TFm_Wait", "Top", 0), 0);
}

}  // namespace
