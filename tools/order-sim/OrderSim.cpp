#include "OrderSim.h"

#include <boost/asio/ssl/context.hpp>
#include <boost/beast/http/write.hpp>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "ControlRoutes.h"
#include "HttpListener.h"
#include "NotificationHub.h"
#include "SelfSignedCert.h"
#include "ServiceRoutes.h"
#include "ServiceState.h"
#include "SmsRoutes.h"
#include "StopSignal.h"
#include "UrlCodec.h"

namespace ordersim {

namespace fs = std::filesystem;

Shop DemoShop() {
  Shop shop;
  shop.id = "1001";
  shop.authCode = "demo7f3c9a21";
  shop.adminPhone = "010-1111-2222";
  shop.subAdmins = {SubAdmin{"010-3333-4444", "1001-s1", "sub5b21e0d4"}};
  shop.name = "한빛분식 본점";
  shop.tel = "02-123-4567";
  shop.bizNum = "123-45-67890";
  shop.ownerName = "김민수";
  shop.addr1 = "서울특별시 종로구 세종대로 175";
  shop.addr2 = "1층";
  shop.deliveryMessage = "리뷰 이벤트 진행 중입니다.";
  shop.origin = "쌀: 국내산, 돼지고기: 국내산, 김치: 국내산";
  shop.affiliate = "";
  return shop;
}

std::optional<std::string> RecordedRequest::header(std::string_view name) const {
  for (const auto& [n, value] : headers)
    if (n.size() == name.size() && std::equal(n.begin(), n.end(), name.begin(), [](char a, char b) {
          return std::tolower(a) == std::tolower(b);
        }))
      return value;
  return std::nullopt;
}

std::optional<std::string> RecordedRequest::queryParam(std::string_view name) const {
  return RawQueryValue(query, name);
}

namespace {

std::string NowText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

std::string NotificationJson(const Order& order) {
  return nlohmann::json{{"token", order.token},
                        {"status", ToString(order.status)},
                        {"type", "order"},
                        {"order_type", ToString(order.orderType)},
                        {"no", order.no}}
      .dump();
}

void WriteFile(const fs::path& path, const std::string& content, fs::perms perms) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path.string());
  fs::permissions(path, perms);
}

}  // namespace

class OrderSim::Impl {
 public:
  explicit Impl(Options options) : options_(std::move(options)) {
    state_.fixedSmsCode = options_.fixedSmsCode;
    state_.logToConsole = options_.logToConsole;
    if (options_.demoShop) {
      const Shop demo = DemoShop();
      state_.shops[demo.id] = demo;
    }
  }

  ~Impl() {
    stop();
    if (!tempDir_.empty()) {
      std::error_code ignored;
      fs::remove_all(tempDir_, ignored);
    }
  }

  void start(OrderSim& sim) {
    setUpTls();
    https_ = std::make_unique<HttpListener>(
        &tls_, [this](const Incoming& in) { return HandleServiceRequest(state_, stop_, in); },
        [this](TlsStream& stream, boost::beast::flat_buffer&, HttpRequest request,
               net::io_context& io) { upgrade(stream, std::move(request), io); });
    http_ = std::make_unique<HttpListener>(
        nullptr, [this](const Incoming& in) { return HandleServiceRequest(state_, stop_, in); });
    https_->start(options_.host, options_.httpsPort);
    http_->start(options_.host, options_.httpPort);
    if (options_.controlPort) {
      control_ = std::make_unique<HttpListener>(
          nullptr, [&sim](const Incoming& in) { return HandleControlRequest(sim, in); });
      control_->start(options_.host, *options_.controlPort);
    }
  }

  void stop() {
    stop_.raise();
    for (auto* listener : {control_.get(), https_.get(), http_.get()})
      if (listener) listener->stop();
  }

  void upgrade(TlsStream& stream, HttpRequest request, net::io_context& io) {
    Incoming incoming{true, false, request};
    std::string shopId;
    {
      std::lock_guard lock(state_.mutex);
      RecordRequest(state_, incoming);
      shopId = channelShop(std::string(request.target()));
      state_.console("GET " + std::string(request.target()) +
                     (shopId.empty() ? " refused" : " channel open"));
    }
    if (shopId.empty()) {
      HttpResponse refused{http::status::forbidden, request.version()};
      refused.set(http::field::content_type, "text/plain");
      refused.body() = "unknown shop or auth_code\n";
      refused.prepare_payload();
      boost::system::error_code ec;
      http::write(stream, refused, ec);
      return;
    }
    hub_.serve(stream, std::move(request), io, shopId);
    std::lock_guard lock(state_.mutex);
    state_.console("channel closed for shop " + shopId);
  }

  // "/ws/shop/ID/AUTH/" with known keys gives ID; anything else gives "". Caller holds the mutex.
  std::string channelShop(const std::string& target) const {
    static constexpr std::string_view kPrefix = "/ws/shop/";
    if (target.rfind(kPrefix, 0) != 0 || target.back() != '/') return {};
    const std::string rest = target.substr(kPrefix.size(), target.size() - kPrefix.size() - 1);
    const size_t slash = rest.find('/');
    if (slash == std::string::npos || rest.find('/', slash + 1) != std::string::npos) return {};
    const std::string id = PercentDecode(rest.substr(0, slash), false);
    const std::string auth = PercentDecode(rest.substr(slash + 1), false);
    return state_.findShop(id, auth) ? id : std::string();
  }

  void setUpTls() {
    std::string certPem;
    std::string keyPem;
    if (!options_.certFile.empty() || !options_.keyFile.empty()) {
      if (options_.certFile.empty() || options_.keyFile.empty())
        throw std::runtime_error("a certificate needs both a certificate file and a key file");
      certPath_ = options_.certFile;
      tls_.use_certificate_chain_file(options_.certFile);
      tls_.use_private_key_file(options_.keyFile, net::ssl::context::pem);
      return;
    }
    const PemPair pem = MakeSelfSignedCertificate();
    fs::path dir = options_.certDir;
    if (dir.empty()) {
      std::string pattern = (fs::temp_directory_path() / "order-sim-XXXXXX").string();
      if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
      tempDir_ = dir = pattern;
    } else {
      fs::create_directories(dir);
    }
    certPath_ = (dir / "order-sim-cert.pem").string();
    WriteFile(certPath_, pem.certificate,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);
    WriteFile(dir / "order-sim-key.pem", pem.privateKey,
              fs::perms::owner_read | fs::perms::owner_write);
    tls_.use_certificate_chain(net::buffer(pem.certificate));
    tls_.use_private_key(net::buffer(pem.privateKey), net::ssl::context::pem);
  }

  Options options_;
  ServiceState state_;
  StopSignal stop_;
  NotificationHub hub_;
  net::ssl::context tls_{net::ssl::context::tls_server};
  std::string certPath_;
  fs::path tempDir_;
  std::unique_ptr<HttpListener> https_;
  std::unique_ptr<HttpListener> http_;
  std::unique_ptr<HttpListener> control_;
};

OrderSim::OrderSim(Options options) : impl_(std::make_unique<Impl>(std::move(options))) {}
// Stops before impl_ starts going away: control handlers still running call back into *this.
OrderSim::~OrderSim() { stop(); }

void OrderSim::start() {
  if (impl_->https_) throw std::logic_error("order-sim is already started");
  try {
    impl_->start(*this);
  } catch (const std::exception& e) {
    impl_->stop();
    throw std::runtime_error(std::string("order-sim cannot start: ") + e.what());
  }
}

void OrderSim::stop() { impl_->stop(); }

uint16_t OrderSim::httpsPort() const { return impl_->https_ ? impl_->https_->port() : 0; }
uint16_t OrderSim::httpPort() const { return impl_->http_ ? impl_->http_->port() : 0; }
uint16_t OrderSim::controlPort() const { return impl_->control_ ? impl_->control_->port() : 0; }
std::string OrderSim::certPath() const { return impl_->certPath_; }
std::string OrderSim::httpsHost() const {
  return impl_->options_.host + ":" + std::to_string(httpsPort());
}
std::string OrderSim::httpHost() const {
  return impl_->options_.host + ":" + std::to_string(httpPort());
}

void OrderSim::addShop(const Shop& shop) {
  std::lock_guard lock(impl_->state_.mutex);
  impl_->state_.shops[shop.id] = shop;
}

std::optional<Shop> OrderSim::shop(const std::string& id) const {
  std::lock_guard lock(impl_->state_.mutex);
  const auto it = impl_->state_.shops.find(id);
  if (it == impl_->state_.shops.end()) return std::nullopt;
  return it->second;
}

Order OrderSim::placeOrder(const std::string& shopId, Order order) {
  ServiceState& state = impl_->state_;
  {
    std::lock_guard lock(state.mutex);
    if (!state.shops.count(shopId)) throw std::invalid_argument("unknown shop " + shopId);
    if (!order.token.empty() && state.findOrder(order.token))
      throw std::invalid_argument("token already in use: " + order.token);
    order.shopId = shopId;
    if (order.no == 0) order.no = state.nextOrderNo++;
    if (order.token.empty()) order.token = state.randomHex(24);
    if (order.payAt && order.payAt->empty()) order.payAt = NowText();
    state.orders.push_back(order);
    state.console("order " + std::to_string(order.no) + " placed for shop " + shopId + ": token " +
                  order.token + ", " + ToString(order.orderType));
  }
  impl_->hub_.send(shopId, NotificationJson(order));
  return order;
}

bool OrderSim::setStatus(const std::string& token, OrderStatus status) {
  Order copy;
  {
    std::lock_guard lock(impl_->state_.mutex);
    Order* order = impl_->state_.findOrder(token);
    if (!order) return false;
    order->status = status;
    copy = *order;
  }
  impl_->hub_.send(copy.shopId, NotificationJson(copy));
  return true;
}

std::optional<Order> OrderSim::order(const std::string& token) const {
  std::lock_guard lock(impl_->state_.mutex);
  const Order* order = impl_->state_.findOrder(token);
  return order ? std::optional<Order>(*order) : std::nullopt;
}

std::vector<Order> OrderSim::orders(const std::string& shopId) const {
  std::lock_guard lock(impl_->state_.mutex);
  std::vector<Order> result;
  for (const auto& order : impl_->state_.orders)
    if (order.shopId == shopId) result.push_back(order);
  return result;
}

int OrderSim::notify(const std::string& shopId, const std::string& message) {
  return impl_->hub_.send(shopId, message);
}
int OrderSim::openChannels(const std::string& shopId) const { return impl_->hub_.count(shopId); }
void OrderSim::dropChannels(const std::string& shopId) { impl_->hub_.drop(shopId); }

void OrderSim::failNext(const Fault& fault) {
  if (fault.count <= 0) return;
  std::lock_guard lock(impl_->state_.mutex);
  impl_->state_.faults.push_back(fault);
}

void OrderSim::clearFaults() {
  std::lock_guard lock(impl_->state_.mutex);
  impl_->state_.faults.clear();
}

std::vector<RecordedRequest> OrderSim::requests() const {
  std::lock_guard lock(impl_->state_.mutex);
  return impl_->state_.requests;
}

void OrderSim::clearRequests() {
  std::lock_guard lock(impl_->state_.mutex);
  impl_->state_.requests.clear();
}

std::vector<SmsCode> OrderSim::smsCodes() const {
  std::lock_guard lock(impl_->state_.mutex);
  return impl_->state_.smsCodes;
}

std::optional<std::string> OrderSim::lastSmsCode(const std::string& phone) const {
  std::lock_guard lock(impl_->state_.mutex);
  const auto& codes = impl_->state_.smsCodes;
  for (auto it = codes.rbegin(); it != codes.rend(); ++it)
    if (DigitsOf(it->phone) == DigitsOf(phone)) return it->code;
  return std::nullopt;
}

std::vector<ErrorReport> OrderSim::errorReports() const {
  std::lock_guard lock(impl_->state_.mutex);
  return impl_->state_.errorReports;
}

void OrderSim::setRelease(const Release& release) {
  std::lock_guard lock(impl_->state_.mutex);
  impl_->state_.release = release;
}

std::string OrderSim::stateJson() const {
  const Shop demo = DemoShop();
  nlohmann::json state = {{"https_port", httpsPort()},
                          {"http_port", httpPort()},
                          {"control_port", controlPort()},
                          {"cert", certPath()},
                          {"web_host", httpsHost()},
                          {"order_host", httpsHost()},
                          {"version_host", httpHost()},
                          {"report_host", httpHost()},
                          {"shop_id", demo.id},
                          {"auth_code", demo.authCode},
                          {"phone", demo.adminPhone},
                          {"sub_phone", demo.subAdmins.front().phone},
                          {"id_sub", demo.subAdmins.front().idSub},
                          {"auth_code_sub", demo.subAdmins.front().authCodeSub},
                          {"sms_code", impl_->options_.fixedSmsCode}};
  return state.dump(2);
}

}  // namespace ordersim
