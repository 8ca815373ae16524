#pragma once
// A private world for whole-process runs of the client: its own HOME, XDG_CONFIG_HOME and
// XDG_RUNTIME_DIR, and its own copy of the executable, so that the program folder (where the
// debug file goes) is not the build's bin folder that every test shares.

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>

#include "support/TempDataFolder.h"

class ClientWorld {
 public:
  explicit ClientWorld(bool createDataFolder);

  const TempDataFolder& home() const { return home_; }
  QString programFolder() const { return program_.path(); }
  QString socketPath() const { return runtime_ + "/Mutex_TalvenOrder"; }
  QString todaysLogName() const;  // "log/YYYYMMDD.log", relative to the data folder

  // Starts the client with TALVENORDER_DEBUG=file; the caller owns the process.
  std::unique_ptr<QProcess> start() const;
  // Waits until the client listens on its name and its log holds the creation line.
  bool waitUntilUp(const QProcess& client, int timeoutMs = 15000) const;
  QString debugText() const;

 private:
  TempDataFolder home_;
  QString runtime_;
  QTemporaryDir program_;
};
