#include "ServiceState.h"

#include <iostream>

namespace ordersim {

const Shop* ServiceState::findShop(const std::string& id, const std::string& authCode) const {
  const auto it = shops.find(id);
  if (it == shops.end() || it->second.authCode != authCode) return nullptr;
  return &it->second;
}

Order* ServiceState::findOrder(const std::string& token) {
  for (auto& order : orders)
    if (order.token == token) return &order;
  return nullptr;
}

std::optional<Fault> ServiceState::takeFault(const std::string& path) {
  for (auto it = faults.begin(); it != faults.end(); ++it) {
    if (path.compare(0, it->pathPrefix.size(), it->pathPrefix) != 0) continue;
    Fault taken = *it;
    if (--it->count <= 0) faults.erase(it);
    return taken;
  }
  return std::nullopt;
}

std::string ServiceState::randomHex(int n) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::uniform_int_distribution<int> digit(0, 15);
  std::string out;
  for (int i = 0; i < n; ++i) out += kDigits[digit(random)];
  return out;
}

void ServiceState::console(const std::string& line) const {
  if (logToConsole) std::cout << "[order-sim] " << line << std::endl;
}

}  // namespace ordersim
