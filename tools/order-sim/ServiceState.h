#pragma once
// Everything the service keeps, behind one mutex. Listener threads and the public API both
// lock `mutex` for the whole of one operation, so every reply sees one consistent state.

#include <deque>
#include <map>
#include <mutex>
#include <random>

#include "OrderSim.h"

namespace ordersim {

struct ServiceState {
  mutable std::mutex mutex;
  std::map<std::string, Shop> shops;
  std::vector<Order> orders;  // in the order placed
  int nextOrderNo = 1;
  std::vector<SmsCode> smsCodes;
  std::vector<ErrorReport> errorReports;
  Release release;
  std::deque<Fault> faults;
  std::vector<RecordedRequest> requests;
  std::string fixedSmsCode;
  bool logToConsole = false;
  std::mt19937 random{std::random_device{}()};

  const Shop* findShop(const std::string& id, const std::string& authCode) const;
  Order* findOrder(const std::string& token);
  // Uses up one count of the first fault matching the path; nullopt when none matches.
  std::optional<Fault> takeFault(const std::string& path);
  // n random lower-case hexadecimal digits (tokens, keys).
  std::string randomHex(int n);
  // Writes one line to standard output when logToConsole is set.
  void console(const std::string& line) const;
};

}  // namespace ordersim
