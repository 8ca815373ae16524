#pragma once
// A private world for server-call tests: a temporary data folder, order-sim serving one shop
// over TLS on loopback, server.ini pointing at it (trusting its certificate), the debug and
// error logs switched on and the message boxes answered.

#include <gtest/gtest.h>

#include "QStringPrinter.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <string>

#include "OrderSim.h"
#include "support/ScriptedMessageBox.h"
#include "support/TempDataFolder.h"
#include "api/define.h"

class ApiWorld : public ::testing::Test {
 protected:
  ApiWorld();
  ~ApiWorld() override;

  struct Trust {
    bool caFile = true;
    bool verify = true;
  };
  void writeServerIni(Trust trust);
  void writeServerIni(Trust trust, const QString& webHost, const QString& orderHost);

  // The test shop's keys, as a session holds them.
  TShop session() const;

  // The next reply of the service, whatever is asked.
  void replyNext(const std::string& body, int status = 200,
                 std::vector<std::pair<std::string, std::string>> headers = {});

  // The next reply is a fault of that kind (Slow waits delay, then answers normally).
  void failNext(ordersim::FaultKind kind, std::chrono::milliseconds delay = {});
  // A canned body, or an HTTP 500 for kServerError.
  void answerNext(const std::string& reply);
  static constexpr const char* kServerError = "<500>";

  ordersim::RecordedRequest onlyRequest() const;  // fails the test unless exactly one came

  // Debug log lines without their time stamps; error log lines of today without theirs.
  QStringList debugLines() const;
  QStringList errorLogLines() const;
  int countStartingWith(const QStringList& lines, const QString& prefix) const;

  static const ordersim::Shop& TestShop();

  TempDataFolder data_;
  ScriptedMessageBox boxes_;
  ordersim::OrderSim sim_;
};
