#pragma once
// A private data folder with both logs switched on and readable, for the print tests.

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

#include "support/TempDataFolder.h"

class PrintWorld : public ::testing::Test {
 protected:
  PrintWorld();
  ~PrintWorld() override;

  QStringList DebugLines() const;  // without the time stamp
  int DebugCount(const QString& prefix) const;
  QString ErrorLog() const;        // today's error log
  // ports/<name> -> target in the data folder.
  void LinkPort(const QString& name, const QString& target) const;
  void WriteSettings(const QByteArray& ini) const { data.writeFile("setting.ini", ini); }

  TempDataFolder data;
};

// Readable failure output for the Qt values these tests compare.
void PrintTo(const QByteArray& bytes, std::ostream* os);
void PrintTo(const QString& text, std::ostream* os);
void PrintTo(const QStringList& list, std::ostream* os);

// Runs the event loop until pred() holds or timeoutMs passed; gives pred()'s last value.
template <typename Pred>
bool WaitFor(Pred pred, int timeoutMs = 5000);

#include <QCoreApplication>
#include <QDeadlineTimer>

template <typename Pred>
bool WaitFor(Pred pred, int timeoutMs) {
  const QDeadlineTimer deadline(timeoutMs);
  while (!pred()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}
