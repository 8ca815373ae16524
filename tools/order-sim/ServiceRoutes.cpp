#include "ServiceRoutes.h"

#include <openssl/evp.h>

#include <cstdio>

#include "GraphqlService.h"
#include "HttpReplies.h"
#include "SmsRoutes.h"
#include "UrlCodec.h"

namespace ordersim {

namespace {

using nlohmann::json;

constexpr const char* kInstallerPath = "/download/TalvenOrderSetup.exe";

std::string Md5Hex(const std::string& data) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  if (EVP_Digest(data.data(), data.size(), digest, &size, EVP_md5(), nullptr) != 1) return {};
  std::string hex;
  char byte[3];
  for (unsigned int i = 0; i < size; ++i) {
    std::snprintf(byte, sizeof byte, "%02x", digest[i]);
    hex += byte;
  }
  return hex;
}

HttpResponse Graphql(ServiceState& state, const HttpRequest& request, const std::string& query) {
  if (request.method() != http::verb::post)
    return JsonReply(405, GraphqlError("GraphQL requests must be POST."));
  const auto id = RawQueryValue(query, "id");
  const auto authCode = RawQueryValue(query, "auth_code");
  const Shop* shop =
      id && authCode ? state.findShop(PercentDecode(*id, false), PercentDecode(*authCode, false))
                     : nullptr;
  if (!shop) return JsonReply(200, GraphqlError("Invalid shop id or auth_code."));

  const json body = json::parse(request.body(), nullptr, false);
  if (!body.is_object() || !body.contains("query") || !body["query"].is_string())
    return JsonReply(400, GraphqlError("The body must be a JSON object with a \"query\" string."));
  return JsonReply(200, ExecuteGraphql(state, shop->id, body["query"].get<std::string>()));
}

HttpResponse VersionPage(const ServiceState& state, const HttpRequest& request,
                         const std::string& query, bool tls) {
  const auto name = RawQueryValue(query, "name");
  if (!name || PercentDecode(*name, true) != "TalvenOrder")
    return TextReply(404, "unknown program\n");
  const Release& release = state.release;
  if (!release.pageOverride.empty()) return TextReply(200, release.pageOverride);
  const std::string host(request[http::field::host]);
  const std::string page = "Version=" + release.version + "\r\n" +
                           "Download=" + (tls ? "https://" : "http://") + host + kInstallerPath +
                           "\r\n" + "Hash=" + Md5Hex(release.installer) + "\r\n" +
                           "FileSize=" + std::to_string(release.installer.size()) + "\r\n" +
                           "ExecOption=" + release.execOption + "\r\n";
  return TextReply(200, page);
}

HttpResponse ErrorReportPost(ServiceState& state, const HttpRequest& request) {
  ErrorReport report;
  report.body = request.body();
  for (auto& [name, value] : ParseForm(report.body))
    report.fields.emplace(std::move(name), std::move(value));
  state.errorReports.push_back(std::move(report));
  state.console("error report received (" + std::to_string(request.body().size()) + " bytes)");
  return TextReply(200, "OK");
}

HttpResponse Route(ServiceState& state, const Incoming& incoming) {
  const HttpRequest& request = incoming.request;
  const auto [path, query] = SplitTarget(View(request.target()));
  const bool post = request.method() == http::verb::post;
  const bool get = request.method() == http::verb::get;

  if (path == "/gql") return Graphql(state, request, query);
  if (path == "/shops/login_sms_send" && post) return SmsSend(state, request.body(), false);
  if (path == "/shops/login_sms_send_subid" && post) return SmsSend(state, request.body(), true);
  if (path == "/shops/login_sms_check" && post) return SmsCheck(state, request.body(), false);
  if (path == "/shops/login_sms_check_subid" && post) return SmsCheck(state, request.body(), true);
  if (path == "/ver.html" && get) return VersionPage(state, request, query, incoming.tls);
  if (path == kInstallerPath && get)
    return TextReply(200, state.release.installer, "application/octet-stream");
  if (path == "/api/android_exception_api/log_write.php" && post)
    return ErrorReportPost(state, request);
  return TextReply(404, "not found\n");
}

std::optional<HttpResponse> Faulty(const Fault& fault) {
  switch (fault.kind) {
    case FaultKind::Slow:
      break;
    case FaultKind::Status500:
      return TextReply(500, "Internal Server Error\n");
    case FaultKind::Malformed:
      return TextReply(200, "{\"data\": {\"shop\": ", "application/json; charset=utf-8");
    case FaultKind::GraphqlErrors:
      return JsonReply(200, GraphqlError("injected"));
    case FaultKind::CloseConnection:
      return std::nullopt;
    case FaultKind::Canned: {
      HttpResponse reply =
          TextReply(fault.canned.status, fault.canned.body, "application/json; charset=utf-8");
      for (const auto& [name, value] : fault.canned.headers) reply.set(name, value);
      return reply;
    }
  }
  return std::nullopt;
}

}  // namespace

void RecordRequest(ServiceState& state, const Incoming& incoming) {
  const HttpRequest& request = incoming.request;
  RecordedRequest record;
  record.tls = incoming.tls;
  record.method = std::string(request.method_string());
  record.target = std::string(request.target());
  std::tie(record.path, record.query) = SplitTarget(record.target);
  for (const auto& field : request.base())
    record.headers.emplace_back(std::string(field.name_string()), std::string(field.value()));
  record.body = request.body();
  record.chunked = incoming.chunked;
  record.received = std::chrono::system_clock::now();
  state.requests.push_back(std::move(record));
}

std::optional<HttpResponse> HandleServiceRequest(ServiceState& state, StopSignal& stop,
                                                 const Incoming& incoming) {
  std::optional<Fault> fault;
  {
    std::lock_guard lock(state.mutex);
    RecordRequest(state, incoming);
    fault = state.takeFault(SplitTarget(View(incoming.request.target())).first);
    state.console(std::string(incoming.request.method_string()) + " " +
                  std::string(incoming.request.target()) + (fault ? " (fault injected)" : ""));
  }
  if (fault && fault->delay.count() > 0 && !stop.sleepFor(fault->delay)) return std::nullopt;
  if (fault && fault->kind != FaultKind::Slow) return Faulty(*fault);
  std::lock_guard lock(state.mutex);
  return Route(state, incoming);
}

}  // namespace ordersim
