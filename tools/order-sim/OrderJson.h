#pragma once
// The service's JSON for its records: every member a client may select, with the service's
// own names. GraphQL replies are cut down from these to the selection asked for.

#include <nlohmann/json.hpp>

#include "OrderModel.h"

namespace ordersim {

nlohmann::json ShopJson(const Shop& shop);
nlohmann::json OrderNodeJson(const Order& order);

}  // namespace ordersim
