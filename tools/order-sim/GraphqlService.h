#pragma once
// Answers one GraphQL document for an authenticated shop, as the ordering service does:
//   { shop(shopId: ID) { ... } }
//   { shopOrderList(token: "T") { totalCount edges { node { ... } } } }
//   { shopOrderList(status: "ORDER,PAY") { totalCount } }
//   mutation { shopSetting(useStop: true) { result msg } }
// Replies carry exactly the fields selected; a field the service does not know, a missing or
// ill-typed argument, or a syntax error gives {"data":null,"errors":[{"message":...}]}.

#include <nlohmann/json.hpp>

#include "ServiceState.h"

namespace ordersim {

// The caller holds state.mutex. `shopId` is the shop the request's keys belong to.
nlohmann::json ExecuteGraphql(ServiceState& state, const std::string& shopId,
                              const std::string& document);

nlohmann::json GraphqlError(const std::string& message);

}  // namespace ordersim
