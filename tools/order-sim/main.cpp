// order-sim command line: `serve` runs the service until interrupted; the other subcommands
// talk to a running one through its control port.

#include <charconv>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>

#include "ControlClient.h"
#include "OrderSim.h"

namespace {

using nlohmann::json;

constexpr uint16_t kDefaultHttpsPort = 18443;
constexpr uint16_t kDefaultHttpPort = 18080;
constexpr uint16_t kDefaultControlPort = 18081;

const char* const kUsage = R"(usage:
  order-sim serve [--state FILE] [--sms-code CODE] [--https-port N] [--http-port N]
                  [--control-port N] [--cert FILE --key FILE] [--cert-dir DIR]
  order-sim place-order   [--control PORT] [--type DELIVERY|TAKEOUT|SHOP] [--shop ID] [--token T]
  order-sim set-status    [--control PORT] --token T --status ORDER|PAY|WORKING|DONE
  order-sim fail-next     [--control PORT] --kind slow|500|malformed|errors|close|canned
                          [--count N] [--path PREFIX] [--delay-ms N] [--status N] [--body TEXT]
  order-sim clear-faults  [--control PORT]
  order-sim requests      [--control PORT] [--clear]
  order-sim sms-codes     [--control PORT]
  order-sim notify        [--control PORT] [--shop ID] --message JSON
  order-sim drop-channels [--control PORT] [--shop ID]
Ports 0 pick free ones. Defaults: https 18443, http 18080, control 18081.
)";

struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// --name value pairs (and bare --flags listed in `flags`), checked against what the command takes.
class Args {
 public:
  Args(int argc, char** argv, const std::set<std::string>& valued,
       const std::set<std::string>& flags = {}) {
    for (int i = 2; i < argc; ++i) {
      const std::string arg = argv[i];
      if (flags.count(arg)) {
        values_[arg] = "";
      } else if (valued.count(arg)) {
        if (i + 1 >= argc) throw UsageError(arg + " needs a value");
        values_[arg] = argv[++i];
      } else {
        throw UsageError("unknown option " + arg);
      }
    }
  }
  bool has(const std::string& name) const { return values_.count(name) > 0; }
  std::string text(const std::string& name, const std::string& fallback = "") const {
    const auto it = values_.find(name);
    return it == values_.end() ? fallback : it->second;
  }
  std::string required(const std::string& name) const {
    if (!has(name)) throw UsageError(name + " is required");
    return text(name);
  }
  int number(const std::string& name, int fallback, int low, int high) const {
    if (!has(name)) return fallback;
    const std::string value = text(name);
    int n = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
    if (ec != std::errc() || end != value.data() + value.size() || n < low || n > high)
      throw UsageError(name + " must be a whole number from " + std::to_string(low) + " to " +
                       std::to_string(high));
    return n;
  }
  uint16_t port(const std::string& name, uint16_t fallback) const {
    return static_cast<uint16_t>(number(name, fallback, 0, 65535));
  }

 private:
  std::map<std::string, std::string> values_;
};

void WriteStateFile(const std::string& path, const std::string& content) {
  // Written beside and renamed, so a script polling for the file never reads half of it.
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::trunc);
    out << content << '\n';
    if (!out.flush()) throw std::runtime_error("cannot write " + temporary);
  }
  std::filesystem::rename(temporary, path);
}

void PrintBanner(const ordersim::OrderSim& sim, const std::string& smsCode) {
  const ordersim::Shop demo = ordersim::DemoShop();
  std::cout << "order-sim is serving on loopback\n"
            << "  HTTPS   " << sim.httpsHost() << "   SMS login, /gql, /ws/shop/ID/AUTH/\n"
            << "  HTTP    " << sim.httpHost() << "   version page, installer, error reports\n"
            << "  control 127.0.0.1:" << sim.controlPort() << "\n"
            << "  certificate (trust it as CaFile): " << sim.certPath() << "\n\n"
            << "Demo shop " << demo.name << ": id " << demo.id << ", auth_code " << demo.authCode
            << "\n"
            << "  administrator phone " << demo.adminPhone << ", sub-administrator phone "
            << demo.subAdmins.front().phone << "\n"
            << "  SMS code: "
            << (smsCode.empty() ? "printed here when the client asks for one" : smsCode) << "\n\n"
            << "server.ini (section [Server]) for the client:\n"
            << "  WebHost=" << sim.httpsHost() << "\n  OrderHost=" << sim.httpsHost()
            << "\n  VersionHost=" << sim.httpHost() << "\n  ReportHost=" << sim.httpHost()
            << "\n  CaFile=" << sim.certPath() << "\n\n"
            << "Place an order:  order-sim place-order --control " << sim.controlPort()
            << " --type DELIVERY\n"
            << "Work on it:      order-sim set-status --control " << sim.controlPort()
            << " --token TOKEN --status WORKING\n"
            << "Stop with Ctrl+C.\n"
            << std::endl;
}

int Serve(const Args& args) {
  ordersim::Options options;
  options.demoShop = true;
  options.logToConsole = true;
  options.fixedSmsCode = args.text("--sms-code");
  options.httpsPort = args.port("--https-port", kDefaultHttpsPort);
  options.httpPort = args.port("--http-port", kDefaultHttpPort);
  options.controlPort = args.port("--control-port", kDefaultControlPort);
  options.certFile = args.text("--cert");
  options.keyFile = args.text("--key");
  options.certDir = args.text("--cert-dir");

  // Blocked before any thread starts, so only sigwait below receives them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  ordersim::OrderSim sim(options);
  sim.start();
  PrintBanner(sim, options.fixedSmsCode);
  const std::string statePath = args.text("--state");
  if (!statePath.empty()) WriteStateFile(statePath, sim.stateJson());

  int received = 0;
  sigwait(&stopSignals, &received);
  std::cout << "order-sim stopping" << std::endl;
  sim.stop();
  if (!statePath.empty()) std::filesystem::remove(statePath);
  return 0;
}

int Control(const Args& args, const std::string& method, const std::string& path,
            const json& body = json::object()) {
  const ordersim::ControlReply reply =
      ordersim::CallControl(args.port("--control", kDefaultControlPort), method, path, body.dump());
  if (reply.status == 0) {
    std::cerr << "order-sim: " << reply.error << "\n";
    return 1;
  }
  const json parsed = json::parse(reply.body, nullptr, false);
  (reply.status == 200 ? std::cout : std::cerr)
      << (parsed.is_discarded() ? reply.body : parsed.dump(2)) << "\n";
  return reply.status == 200 ? 0 : 1;
}

// The members given on the command line, by their control names.
json Members(const Args& args, const std::map<std::string, std::string>& names) {
  json body = json::object();
  for (const auto& [option, member] : names)
    if (args.has(option)) body[member] = args.text(option);
  return body;
}

int Run(int argc, char** argv) {
  if (argc < 2) throw UsageError("a subcommand is needed");
  const std::string command = argv[1];
  if (command == "serve")
    return Serve(Args(argc, argv,
                      {"--state", "--sms-code", "--https-port", "--http-port", "--control-port",
                       "--cert", "--key", "--cert-dir"}));
  if (command == "place-order") {
    const Args args(argc, argv, {"--control", "--type", "--shop", "--token"});
    return Control(args, "POST", "/orders",
                   Members(args, {{"--type", "type"}, {"--shop", "shop"}, {"--token", "token"}}));
  }
  if (command == "set-status") {
    const Args args(argc, argv, {"--control", "--token", "--status"});
    return Control(args, "POST", "/orders/status",
                   {{"token", args.required("--token")}, {"status", args.required("--status")}});
  }
  if (command == "fail-next") {
    const Args args(
        argc, argv,
        {"--control", "--kind", "--count", "--path", "--delay-ms", "--status", "--body"});
    json body = Members(args, {{"--kind", "kind"}, {"--path", "path"}, {"--body", "body"}});
    args.required("--kind");
    body["count"] = args.number("--count", 1, 1, 1000000);
    if (args.has("--delay-ms")) body["delay_ms"] = args.number("--delay-ms", 0, 0, 3600000);
    if (args.has("--status")) body["status"] = args.number("--status", 200, 100, 599);
    return Control(args, "POST", "/faults", body);
  }
  if (command == "clear-faults")
    return Control(Args(argc, argv, {"--control"}), "DELETE", "/faults");
  if (command == "requests") {
    const Args args(argc, argv, {"--control"}, {"--clear"});
    return Control(args, args.has("--clear") ? "DELETE" : "GET", "/requests");
  }
  if (command == "sms-codes") return Control(Args(argc, argv, {"--control"}), "GET", "/sms-codes");
  if (command == "notify") {
    const Args args(argc, argv, {"--control", "--shop", "--message"});
    args.required("--message");
    return Control(args, "POST", "/notify",
                   Members(args, {{"--shop", "shop"}, {"--message", "message"}}));
  }
  if (command == "drop-channels") {
    const Args args(argc, argv, {"--control", "--shop"});
    return Control(args, "POST", "/channels/drop", Members(args, {{"--shop", "shop"}}));
  }
  if (command == "--help" || command == "help") {
    std::cout << kUsage;
    return 0;
  }
  throw UsageError("unknown subcommand " + command);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const UsageError& e) {
    std::cerr << "order-sim: " << e.what() << "\n" << kUsage;
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "order-sim: " << e.what() << "\n";
    return 1;
  }
}
