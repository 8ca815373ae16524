#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include "PrintWorld.h"
#include "platform/PortNames.h"

using platform::PortNumber;

TEST(PortNumber, AcceptsOnlyThePrefixAndAPlainNumber) {
  const std::pair<const char*, std::optional<int>> cases[] = {
      {"COM1", 1},          {"COM12", 12},       {"COM0", std::nullopt}, {"COM01", std::nullopt},
      {"com1", std::nullopt}, {"COM", std::nullopt}, {"COM1:", std::nullopt}, {"COM-1", std::nullopt},
      {"COM99999", std::nullopt}, {"COM 1", std::nullopt}, {"LPT1", std::nullopt},
  };
  for (const auto& [name, n] : cases) EXPECT_EQ(PortNumber(name, "COM"), n) << name;
}

class PortNames : public PrintWorld {
 protected:
  // A fake /dev/serial/by-id and /dev whose entries lead to real character devices.
  void Plug(const QString& folder, const QString& name, const QString& device) const {
    QDir().mkpath(folder);
    ASSERT_TRUE(QFile::link(device, folder + "/" + name));
  }
  QString byId() const { return data.root() + "/by-id"; }
  QString dev() const { return data.root() + "/dev"; }
};

TEST_F(PortNames, PortsResolveThroughTheirLinkElseTheSystemDevice) {
  LinkPort("COM2", "/dev/null");
  LinkPort("LPT1", data.root() + "/printer-file");
  EXPECT_EQ(platform::ComDevicePath("COM2"), platform::PortLinkFolder() + "/COM2");
  EXPECT_EQ(platform::ComDevicePath("COM40"), "/dev/ttyS39");
  EXPECT_EQ(platform::LptDevicePath("LPT1"), platform::PortLinkFolder() + "/LPT1");  // dangling is still ours
  EXPECT_EQ(platform::LptDevicePath("LPT2"), "/dev/lp1");
  EXPECT_EQ(platform::ComDevicePath("Receipt"), "");
  EXPECT_TRUE(platform::ComPortNames().contains("COM2"));
  EXPECT_FALSE(platform::ComPortNames().contains("COM40"));
}

TEST_F(PortNames, UsbAdaptersKeepTheirComNameAcrossReplugging) {
  Plug(byId(), "usb-Acme_Printer_A-if00-port0", "/dev/null");
  Plug(byId(), "usb-Acme_Printer_B-if00-port0", "/dev/zero");
  Plug(dev(), "ttyACM0", "/dev/full");  // no stable name: linked by its device name
  const QStringList made = platform::LinkUsbSerialAdapters(byId(), dev());
  ASSERT_EQ(made.size(), 3);
  EXPECT_EQ(QSet<QString>(made.begin(), made.end()).size(), 3);
  const QString a = platform::PortLinkFolder() + "/" + made[0];
  EXPECT_EQ(QFileInfo(a).symLinkTarget(), byId() + "/usb-Acme_Printer_A-if00-port0");
  EXPECT_EQ(QFileInfo(platform::PortLinkFolder() + "/" + made[2]).symLinkTarget(), dev() + "/ttyACM0");
  for (const QString& name : made) EXPECT_TRUE(platform::ComPortNames().contains(name)) << name.toStdString();

  EXPECT_TRUE(platform::LinkUsbSerialAdapters(byId(), dev()).isEmpty());  // nothing new

  // Unplugged: the name stays reserved and is no longer offered; plugged back: same name.
  QFile::remove(byId() + "/usb-Acme_Printer_A-if00-port0");
  EXPECT_TRUE(platform::LinkUsbSerialAdapters(byId(), dev()).isEmpty());
  EXPECT_FALSE(platform::ComPortNames().contains(made[0]));
  Plug(byId(), "usb-Acme_Printer_A-if00-port0", "/dev/null");
  EXPECT_TRUE(platform::LinkUsbSerialAdapters(byId(), dev()).isEmpty());
  EXPECT_TRUE(platform::ComPortNames().contains(made[0]));

  // A new adapter takes a number no other name holds.
  Plug(byId(), "usb-Acme_Printer_C-if00-port0", "/dev/random");
  const QStringList third = platform::LinkUsbSerialAdapters(byId(), dev());
  ASSERT_EQ(third.size(), 1);
  EXPECT_FALSE(made.contains(third[0]));
}
