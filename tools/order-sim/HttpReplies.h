#pragma once
// Building the service's replies.

#include <nlohmann/json.hpp>

#include "HttpListener.h"

namespace ordersim {

inline HttpResponse TextReply(int status, std::string body,
                              const char* contentType = "text/plain; charset=utf-8") {
  HttpResponse response{static_cast<http::status>(status), 11};
  response.set(http::field::server, "order-sim");
  response.set(http::field::content_type, contentType);
  response.body() = std::move(body);
  return response;
}

inline HttpResponse JsonReply(int status, const nlohmann::json& body) {
  return TextReply(status, body.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace),
                   "application/json; charset=utf-8");
}

inline std::string_view View(boost::beast::string_view text) { return {text.data(), text.size()}; }

// Splits "/path?query" into its two parts.
inline std::pair<std::string, std::string> SplitTarget(std::string_view target) {
  const size_t q = target.find('?');
  if (q == std::string_view::npos) return {std::string(target), std::string()};
  return {std::string(target.substr(0, q)), std::string(target.substr(q + 1))};
}

}  // namespace ordersim
