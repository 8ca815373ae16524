#pragma once
// order-sim: the ordering service on loopback, for tests (in-process) and the demo (bin/order-sim).
//
// One HTTPS listener (self-signed certificate unless one is given) and one plain HTTP listener
// serve the same routes:
//   POST /shops/login_sms_send, /shops/login_sms_send_subid          {"phone":"..."}
//   POST /shops/login_sms_check, /shops/login_sms_check_subid        {"phone","auth","from"}
//   POST /gql?id=SHOP&auth_code=CODE                                 {"query":"<document>"}
//   GET  /ver.html?name=TalvenOrder, GET /download/TalvenOrderSetup.exe
//   POST /api/android_exception_api/log_write.php                    form fields, kept
//   GET  /ws/shop/SHOP/CODE/ (WebSocket upgrade, HTTPS listener): order notifications
// An optional control listener (plain HTTP, loopback) drives the service for people and scripts;
// its requests are neither recorded nor subject to faults.
//
// Every public member is thread-safe. Serving runs on threads of its own between start() and
// stop() (the destructor stops).

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "OrderModel.h"

namespace ordersim {

struct Options {
  std::string host = "127.0.0.1";  // listeners bind here; loopback only
  uint16_t httpsPort = 0;          // 0: any free port
  uint16_t httpPort = 0;
  std::optional<uint16_t> controlPort;  // nullopt: no control listener
  std::string certFile;                 // PEM; with keyFile, used instead of a fresh certificate
  std::string keyFile;
  std::string certDir;        // where a fresh certificate is written; empty: a temporary folder
  std::string fixedSmsCode;   // non-empty: every code sent is this, and it is always accepted
  bool demoShop = false;      // start with the demo shop (DemoShop())
  bool logToConsole = false;  // one line per request and every SMS code on standard output
};

// The keys of the shop the demo and the whole-process tests log in with.
Shop DemoShop();

struct RecordedRequest {
  bool tls = false;    // came on the HTTPS listener
  std::string method;  // "POST"
  std::string target;  // path and query as sent: "/gql?id=1&auth_code=a"
  std::string path;    // "/gql"
  std::string query;   // "id=1&auth_code=a" (raw, not decoded)
  std::vector<std::pair<std::string, std::string>> headers;  // as sent, in order
  std::string body;                                          // the body's bytes after de-chunking
  bool chunked = false;  // the body came with Transfer-Encoding: chunked
  std::chrono::system_clock::time_point received;

  // The first header of that name (case-insensitive), or nullopt.
  std::optional<std::string> header(std::string_view name) const;
  // A query parameter's raw value, or nullopt.
  std::optional<std::string> queryParam(std::string_view name) const;
};

// A reply the service sends instead of its own (for redirects, odd charsets, odd JSON). The
// Content-Type is JSON unless `headers` sets one. For a redirect of a POST use 307 or 308: with
// 301/302 most clients follow with a GET, which /gql refuses with 405.
struct CannedReply {
  int status = 200;
  std::vector<std::pair<std::string, std::string>> headers;  // e.g. {"Location", "/gql?..."}
  std::string body;
};

enum class FaultKind {
  Slow,             // wait delay, then reply normally
  Status500,        // HTTP 500 with a short text body
  Malformed,        // HTTP 200, Content-Type JSON, a body that is not JSON
  GraphqlErrors,    // HTTP 200 {"data":null,"errors":[{"message":"injected"}]}
  CloseConnection,  // close the connection after reading the request, no reply
  Canned,           // send `canned`
};

struct Fault {
  FaultKind kind = FaultKind::Status500;
  int count = 1;                       // how many matching requests it applies to
  std::string pathPrefix;              // only requests whose path starts with this; "" = all
  std::chrono::milliseconds delay{0};  // Slow: the wait (also applied before other kinds)
  CannedReply canned;                  // Canned only
};

struct SmsCode {
  std::string phone;  // as the client sent it
  bool subAdmin = false;
  std::string code;
};

struct ErrorReport {
  std::string body;                           // raw form body
  std::map<std::string, std::string> fields;  // percent-decoded
};

struct Release {
  std::string version = "1.0.0.1";
  std::string installer = "installer bytes";  // the download's content
  std::string execOption = "/S";
  std::string pageOverride;  // non-empty: the version page's body as is
};

class OrderSim {
 public:
  explicit OrderSim(Options options = {});
  ~OrderSim();
  OrderSim(const OrderSim&) = delete;
  OrderSim& operator=(const OrderSim&) = delete;

  // Binds the listeners and starts serving; throws std::runtime_error when that fails. Once only.
  void start();
  void stop();  // idempotent; ends open connections and joins every thread

  uint16_t httpsPort() const;
  uint16_t httpPort() const;
  uint16_t controlPort() const;   // 0 when there is no control listener
  std::string certPath() const;   // PEM of the served certificate (trust it as CaFile)
  std::string httpsHost() const;  // "127.0.0.1:PORT" (for server.ini WebHost/OrderHost)
  std::string httpHost() const;   // "127.0.0.1:PORT" (VersionHost/ReportHost)

  // Shops. addShop replaces a shop with the same id.
  void addShop(const Shop& shop);
  std::optional<Shop> shop(const std::string& id) const;

  // Orders. placeOrder fills in no, token, shopId and payAt when empty, keeps the order and sends
  // the notification to the shop's open channels. Throws std::invalid_argument for an unknown
  // shop or a token already in use.
  Order placeOrder(const std::string& shopId, Order order);
  // Moves an order to a state and notifies; false for an unknown token.
  bool setStatus(const std::string& token, OrderStatus status);
  std::optional<Order> order(const std::string& token) const;
  std::vector<Order> orders(const std::string& shopId) const;

  // Sends one notification message (a JSON text) to every open channel of the shop; returns how
  // many channels it reached.
  int notify(const std::string& shopId, const std::string& message);
  int openChannels(const std::string& shopId) const;
  // Closes the shop's open channels from the server side (to test reconnection).
  void dropChannels(const std::string& shopId);

  // Faults apply in the order added; each matching request uses up one count of the first fault
  // that matches it.
  void failNext(const Fault& fault);
  void clearFaults();

  std::vector<RecordedRequest> requests() const;
  void clearRequests();

  std::vector<SmsCode> smsCodes() const;  // every code sent, oldest first
  std::optional<std::string> lastSmsCode(
      const std::string& phone) const;  // phone matched on digits

  std::vector<ErrorReport> errorReports() const;

  void setRelease(const Release& release);

  // What `serve --state FILE` writes: ports, certificate path, demo shop keys, phone, SMS code.
  std::string stateJson() const;

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace ordersim
