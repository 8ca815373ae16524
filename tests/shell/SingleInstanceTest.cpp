#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "RuntimeFolder.h"
#include "shell/SingleInstance.h"

namespace {

// What a copy killed with SIGKILL leaves: a socket file nobody listens on.
void MakeStaleSocket(const QString& path) {
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const QByteArray name = path.toLocal8Bit();
  ASSERT_LT(size_t(name.size()), sizeof address.sun_path);
  memcpy(address.sun_path, name.constData(), name.size());
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  close(fd);
  ASSERT_TRUE(QFileInfo::exists(path));
}

QList<quint32> Received(QSignalSpy& spy) {
  QList<quint32> values;
  for (const auto& args : spy) values << args.at(0).value<quint32>();
  return values;
}

class SingleInstanceTest : public testing::Test {
 protected:
  RuntimeFolder runtime_;
  QString path_ = SingleInstance::DefaultServerPath();
};

TEST_F(SingleInstanceTest, NameLivesInTheUsersRuntimeFolder) {
  EXPECT_EQ(path_, runtime_.path() + "/Mutex_TalvenOrder");

  // Without a runtime folder the temporary folder is shared by all users: the uid keeps apart.
  for (const char* value : {"", "relative/run", "/no/such/folder"}) {
    qputenv("XDG_RUNTIME_DIR", value);
    const QString fallback = SingleInstance::DefaultServerPath();
    EXPECT_TRUE(fallback.endsWith("/Mutex_TalvenOrder-" + QString::number(getuid()))) << value << " " << qPrintable(fallback);
    EXPECT_TRUE(QFileInfo(fallback).isAbsolute());
  }
}

TEST_F(SingleInstanceTest, SecondCopyHandsOverToTheOwner) {
  SingleInstance first(path_);
  ASSERT_EQ(first.Acquire(0x40C), SingleInstance::Outcome::Owner);
  QSignalSpy spy(&first, &SingleInstance::MessageReceived);

  EXPECT_TRUE(SingleInstance::NotifyRunningCopy(path_, 0x40C));
  SingleInstance second(path_);
  EXPECT_EQ(second.Acquire(0x40C), SingleInstance::Outcome::OtherCopyRuns);
  EXPECT_FALSE(second.IsOwner());

  EXPECT_TRUE(QTest::qWaitFor([&] { return spy.count() == 2; }, 3000));
  EXPECT_EQ(Received(spy), (QList<quint32>{0x40C, 0x40C}));
  EXPECT_TRUE(first.IsOwner());
}

TEST_F(SingleInstanceTest, NobodyListeningMeansNoRunningCopy) {
  EXPECT_FALSE(SingleInstance::NotifyRunningCopy(path_, 0x40C));
  EXPECT_FALSE(QFileInfo::exists(path_)) << "asking must create no file";

  MakeStaleSocket(path_);
  EXPECT_FALSE(SingleInstance::NotifyRunningCopy(path_, 0x40C));
}

TEST_F(SingleInstanceTest, StaleSocketOfACrashedCopyIsTakenOver) {
  MakeStaleSocket(path_);
  SingleInstance instance(path_);
  ASSERT_EQ(instance.Acquire(0x40C), SingleInstance::Outcome::Owner);
  EXPECT_TRUE(SingleInstance::NotifyRunningCopy(path_, 0x40C));
}

TEST_F(SingleInstanceTest, ReleaseFreesTheNameAtOnce) {
  SingleInstance old(path_);
  ASSERT_EQ(old.Acquire(0x40C), SingleInstance::Outcome::Owner);
  old.Release();
  EXPECT_FALSE(QFileInfo::exists(path_));

  SingleInstance fresh(path_);
  EXPECT_EQ(fresh.Acquire(0x40C), SingleInstance::Outcome::Owner);
}

TEST_F(SingleInstanceTest, MessagesSplitOrTruncatedOnTheWire) {
  SingleInstance owner(path_);
  ASSERT_EQ(owner.Acquire(0x40C), SingleInstance::Outcome::Owner);
  QSignalSpy spy(&owner, &SingleInstance::MessageReceived);

  QLocalSocket client;
  client.connectToServer(path_);
  ASSERT_TRUE(client.waitForConnected(1000));
  // One message in two pieces, then one whole, then a stray tail that never completes.
  client.write(QByteArray::fromHex("0000"));
  client.flush();
  QTest::qWait(50);
  client.write(QByteArray::fromHex("040c" "00000001" "ffff"));
  client.flush();
  EXPECT_TRUE(QTest::qWaitFor([&] { return spy.count() == 2; }, 3000));
  client.disconnectFromServer();
  QTest::qWait(50);
  EXPECT_EQ(Received(spy), (QList<quint32>{0x40C, 1}));
  EXPECT_TRUE(owner.IsOwner());
}

}  // namespace
