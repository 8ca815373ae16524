#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QCoreApplication>

#include <unistd.h>

#include "diag/FileErrors.h"
#include "diag/SupportRoutines.h"

namespace {

void writeFile(const QString& path, const QByteArray& content, const QDateTime& modified = {}) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
  ASSERT_EQ(file.write(content), content.size());
  ASSERT_TRUE(file.flush());  // a later flush would move the time again
  if (modified.isValid()) {
    ASSERT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
  }
}

class SupportFiles : public testing::Test {
 protected:
  QString path(const QString& name) const { return dir_.filePath(name); }
  QTemporaryDir dir_;
};

TEST_F(SupportFiles, DeleteOldFilesByAge) {
  const QDateTime now = QDateTime::currentDateTime();
  struct Entry {
    const char* name;
    double ageDays;
    bool kept;
  };
  const Entry entries[] = {
      {"20240101.log", 15, false},
      {"old.txt", 14.01, false},  // any extension
      {"noextension", 20, false},
      {".hidden", 20, false},
      {"recent.log", 13, true},
      {"edge.log", 13.99, true},
  };
  for (const auto& e : entries)
    writeFile(path(e.name), "x", now.addSecs(-qint64(e.ageDays * 24 * 3600)));
  ASSERT_TRUE(QDir(dir_.path()).mkdir("sub"));
  writeFile(path("sub/inner.log"), "x", now.addDays(-30));

  EXPECT_EQ(DeleteOldFiles(dir_.path(), 14, "*.*", now), 4);
  for (const auto& e : entries) EXPECT_EQ(QFile::exists(path(e.name)), e.kept) << e.name;
  EXPECT_TRUE(QFileInfo(path("sub")).isDir());
  EXPECT_TRUE(QFile::exists(path("sub/inner.log")));  // no descent into subfolders
}

TEST_F(SupportFiles, DeleteOldFilesDaysZeroAndMask) {
  writeFile(path("a.log"), "x");
  writeFile(path("b.txt"), "x");
  writeFile(path("c.log"), "x", QDateTime::currentDateTime().addYears(1));  // even from the future
  EXPECT_EQ(DeleteOldFiles(dir_.path(), 0, "*.log"), 2);
  EXPECT_FALSE(QFile::exists(path("a.log")));
  EXPECT_FALSE(QFile::exists(path("c.log")));
  EXPECT_TRUE(QFile::exists(path("b.txt")));
  EXPECT_EQ(DeleteOldFiles(dir_.path(), 0, "*.*"), 1);
  EXPECT_FALSE(QFile::exists(path("b.txt")));
}

TEST_F(SupportFiles, DeleteOldFilesWithoutFolder) {
  EXPECT_EQ(DeleteOldFiles(path("missing"), 0, "*.*"), 0);
  EXPECT_EQ(DeleteOldFiles("", 0, "*.*"), 0);  // never the working folder
}

TEST_F(SupportFiles, DeleteOldFilesCountsFailedDeletions) {
  ASSERT_TRUE(QDir(dir_.path()).mkdir("locked"));
  writeFile(path("locked/a.log"), "x");
  QFile::setPermissions(path("locked"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
  const int tried = DeleteOldFiles(path("locked"), 0, "*.*");
  const bool stillThere = QFile::exists(path("locked/a.log"));
  QFile::setPermissions(path("locked"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  EXPECT_EQ(tried, 1);
  if (getuid() != 0) {
    EXPECT_TRUE(stillThere);  // root may delete anyway
  }
}

TEST_F(SupportFiles, ForceFolderCreatesAbsolutePathsOnly) {
  EXPECT_TRUE(ForceFolder(path("a/b/c")));
  EXPECT_TRUE(QFileInfo(path("a/b/c")).isDir());
  EXPECT_TRUE(ForceFolder(path("a/b/c/")));  // existing: still true

  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir_.path()));
  const char* refused[] = {"relative/x", "\\\\server\\share\\x", "C:\\Temp\\x", ""};
  for (const char* p : refused) EXPECT_FALSE(ForceFolder(p)) << p;
  const QStringList created = QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
  QDir::setCurrent(before);
  EXPECT_EQ(created, QStringList({"a"}));
}

TEST_F(SupportFiles, ForceFolderFailsBelowAFile) {
  writeFile(path("file"), "x");
  EXPECT_FALSE(ForceFolder(path("file/sub")));
}

TEST_F(SupportFiles, SizeAndDigest) {
  writeFile(path("abc"), "abc");
  EXPECT_EQ(FileSizeOf(path("abc")), 3);
  EXPECT_EQ(FileSizeOf(path("missing")), 0);
  EXPECT_EQ(FileSizeOf(dir_.path()), 0);
  EXPECT_EQ(FileMd5(path("abc")), "900150983cd24fb0d6963f7d28e17f72");
  writeFile(path("empty"), "");
  EXPECT_EQ(FileMd5(path("empty")), "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_THROW(FileMd5(path("missing")), EFOpenError);
  EXPECT_THROW(FileMd5(dir_.path()), EFOpenError);
}

TEST(SupportFolders, TrailingSlashes) {
  EXPECT_TRUE(ProgramFolder().endsWith('/'));
  EXPECT_TRUE(QFileInfo::exists(ProgramFolder() + QFileInfo(QCoreApplication::applicationFilePath()).fileName()));
  const QByteArray old = qgetenv("TMPDIR");
  qputenv("TMPDIR", "/var/tmp");
  EXPECT_EQ(TempFolder(), "/var/tmp/");
  if (old.isEmpty()) qunsetenv("TMPDIR"); else qputenv("TMPDIR", old);
}

}  // namespace
