#pragma once
// The control interface over HTTP (JSON in, JSON out), a thin layer over OrderSim's API:
//   GET  /state                      ports, certificate, demo shop keys
//   POST /shops                      {"id","auth_code","admin_phone","name",...}
//   POST /orders                     {"shop"?, "type"?: "DELIVERY"|"TAKEOUT"|"SHOP", "token"?}
//   POST /orders/status              {"token", "status": "ORDER"|"PAY"|"WORKING"|"DONE"}
//   POST /faults, DELETE /faults     {"kind": "slow"|"500"|"malformed"|"errors"|"close"|"canned",
//                                     "count"?, "path"?, "delay_ms"?, "status"?, "headers"?,
//                                     "body"?}
//   GET  /requests, DELETE /requests
//   GET  /sms-codes, GET /error-reports
//   POST /notify                     {"shop"?, "message"}
//   POST /channels/drop              {"shop"?}
// "shop" defaults to the demo shop.

#include "HttpListener.h"
#include "OrderSim.h"

namespace ordersim {

std::optional<HttpResponse> HandleControlRequest(OrderSim& sim, const Incoming& incoming);

std::optional<FaultKind> ParseFaultKind(std::string_view name);

}  // namespace ordersim
