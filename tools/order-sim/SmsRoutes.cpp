#include "SmsRoutes.h"

#include <cstdio>

#include "HttpReplies.h"

namespace ordersim {

namespace {

using nlohmann::json;

HttpResponse Refuse(const std::string& msg) {
  return JsonReply(200, {{"result", false}, {"msg", msg}});
}

// The member as text, or nullopt when the body is not a JSON object or lacks it.
std::optional<std::string> TextMember(const json& body, const char* name) {
  if (!body.is_object()) return std::nullopt;
  const auto it = body.find(name);
  if (it == body.end() || !it->is_string()) return std::nullopt;
  return it->get<std::string>();
}

struct Account {
  const Shop* shop = nullptr;
  const SubAdmin* sub = nullptr;
};

Account FindAccount(const ServiceState& state, const std::string& phone, bool subAdmin) {
  const std::string digits = DigitsOf(phone);
  if (digits.empty()) return {};
  for (const auto& [id, shop] : state.shops) {
    if (!subAdmin && DigitsOf(shop.adminPhone) == digits) return {&shop, nullptr};
    if (subAdmin)
      for (const auto& sub : shop.subAdmins)
        if (DigitsOf(sub.phone) == digits) return {&shop, &sub};
  }
  return {};
}

bool CodeValid(const ServiceState& state, const std::string& phone, bool subAdmin,
               const std::string& code) {
  if (!state.fixedSmsCode.empty()) return code == state.fixedSmsCode;
  const std::string digits = DigitsOf(phone);
  for (auto it = state.smsCodes.rbegin(); it != state.smsCodes.rend(); ++it)
    if (it->subAdmin == subAdmin && DigitsOf(it->phone) == digits) return it->code == code;
  return false;
}

}  // namespace

std::string DigitsOf(std::string_view text) {
  std::string digits;
  for (const char c : text)
    if (c >= '0' && c <= '9') digits += c;
  return digits;
}

HttpResponse SmsSend(ServiceState& state, const std::string& body, bool subAdmin) {
  const json request = json::parse(body, nullptr, false);
  const auto phone = TextMember(request, "phone");
  if (!phone) return Refuse("잘못된 요청입니다.");
  if (!FindAccount(state, *phone, subAdmin).shop)
    return Refuse(subAdmin ? "등록된 부관리자 번호가 아닙니다." : "등록된 관리자 번호가 아닙니다.");

  std::string code = state.fixedSmsCode;
  if (code.empty()) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04d",
                  std::uniform_int_distribution<int>(0, 9999)(state.random));
    code = digits;
  }
  state.smsCodes.push_back({*phone, subAdmin, code});
  state.console("SMS code for " + *phone + (subAdmin ? " (sub-admin)" : " (admin)") + ": " + code);
  return JsonReply(200, {{"result", true}, {"msg", "인증번호가 발송되었습니다."}});
}

HttpResponse SmsCheck(ServiceState& state, const std::string& body, bool subAdmin) {
  const json request = json::parse(body, nullptr, false);
  const auto phone = TextMember(request, "phone");
  const auto code = TextMember(request, "auth");
  if (!phone || !code) return Refuse("잘못된 요청입니다.");
  const Account account = FindAccount(state, *phone, subAdmin);
  if (!account.shop)
    return Refuse(subAdmin ? "등록된 부관리자 번호가 아닙니다." : "등록된 관리자 번호가 아닙니다.");
  if (!CodeValid(state, *phone, subAdmin, *code)) return Refuse("인증번호가 일치하지 않습니다.");

  json reply = {{"result", true},
                {"msg", "로그인되었습니다."},
                {"id", account.shop->id},
                {"auth_code", account.shop->authCode}};
  if (account.sub) {
    reply["id_sub"] = account.sub->idSub;
    reply["auth_code_sub"] = account.sub->authCodeSub;
  }
  return JsonReply(200, reply);
}

}  // namespace ordersim
