#pragma once
// A plain libcurl client for talking to order-sim the way an outside program does.

#include <string>
#include <utility>
#include <vector>

struct CurlRequest {
  std::string method = "POST";
  std::string url;
  std::string body;
  bool chunked = false;
  std::string caFile;  // empty: the system store only
  bool followRedirects = false;
  long timeoutMs = 10000;
  std::vector<std::string> headers = {"Content-Type: application/json"};
};

struct CurlReply {
  bool ok = false;  // the transfer completed (any HTTP status)
  std::string error;
  long status = 0;
  std::string body;
  std::string contentType;
};

CurlReply Perform(const CurlRequest& request);
