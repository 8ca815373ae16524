#pragma once
// The command line's side of the control interface: one JSON request to 127.0.0.1:port.

#include <cstdint>
#include <string>

namespace ordersim {

struct ControlReply {
  int status = 0;  // HTTP status; 0 when the control port could not be reached
  std::string body;
  std::string error;
};

ControlReply CallControl(uint16_t port, const std::string& method, const std::string& path,
                         const std::string& jsonBody);

}  // namespace ordersim
