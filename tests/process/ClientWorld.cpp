#include "ClientWorld.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <unistd.h>

#include <stdexcept>

ClientWorld::ClientWorld(bool createDataFolder)
    : home_(createDataFolder), runtime_(home_.root() + "/run"),
      program_(QStringLiteral(TALVEN_BIN_DIR "/../process-tests-XXXXXX")) {
  if (!program_.isValid() || !QDir().mkpath(runtime_)) throw std::runtime_error("cannot make test folders");
  QFile::setPermissions(runtime_, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  // A hard link is cheap and /proc/self/exe then names this folder; a copy does the same.
  const QString source = QStringLiteral(TALVEN_BIN_DIR "/TalvenOrder");
  const QString target = program_.filePath("TalvenOrder");
  if (link(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) != 0 &&
      !QFile::copy(source, target))
    throw std::runtime_error("cannot place the client in " + target.toStdString());
}

QString ClientWorld::todaysLogName() const {
  return "log/" + QDate::currentDate().toString("yyyyMMdd") + ".log";
}

std::unique_ptr<QProcess> ClientWorld::start() const {
  auto client = std::make_unique<QProcess>();
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("HOME", home_.root());
  env.insert("XDG_CONFIG_HOME", home_.root() + "/.config");
  env.insert("XDG_RUNTIME_DIR", runtime_);
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("TALVENORDER_DEBUG", "file");
  client->setProcessEnvironment(env);
  client->setProgram(program_.filePath("TalvenOrder"));
  client->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  client->start();
  return client;
}

bool ClientWorld::waitUntilUp(const QProcess& client, int timeoutMs) const {
  return QTest::qWaitFor(
      [&] {
        return client.state() == QProcess::Running && QFileInfo::exists(socketPath()) &&
               home_.readFile(todaysLogName()).contains("Tfm_orderFake.FormCreate");
      },
      timeoutMs);
}

QString ClientWorld::debugText() const {
  QFile file(program_.filePath("debug.txt"));
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}
