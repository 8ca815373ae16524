#include "SimFixture.h"

using nlohmann::json;

class SmsLoginTest : public SimFixture {
 protected:
  json call(const std::string& path, const json& body) {
    const CurlReply reply = post(httpsUrl(path), body.dump());
    EXPECT_EQ(reply.status, 200);
    return json::parse(reply.body, nullptr, false);
  }
  json check(const std::string& path, const std::string& phone, const std::string& code) {
    return call(path, {{"phone", phone}, {"auth", code}, {"from", "orderpos"}});
  }
};

TEST_F(SmsLoginTest, AdministratorGetsTheShopKeys) {
  const json sent = call("/shops/login_sms_send", {{"phone", "010-1111-2222"}});
  EXPECT_EQ(sent["result"], true);
  const auto code = sim.lastSmsCode("01011112222");
  ASSERT_TRUE(code);
  EXPECT_EQ(code->size(), 4u);

  const std::string wrong = *code == "0000" ? "1111" : "0000";
  const json refused = check("/shops/login_sms_check", "010-1111-2222", wrong);
  EXPECT_EQ(refused["result"], false);
  EXPECT_TRUE(refused["msg"].is_string());
  EXPECT_FALSE(refused.contains("id"));

  const json ok = check("/shops/login_sms_check", "010-1111-2222", *code);
  EXPECT_EQ(ok["result"], true);
  EXPECT_EQ(ok["id"], demo.id);
  EXPECT_EQ(ok["auth_code"], demo.authCode);
  EXPECT_FALSE(ok.contains("id_sub"));
  // The code stays valid, as an automatic login sends it again later.
  EXPECT_EQ(check("/shops/login_sms_check", "010-1111-2222", *code)["result"], true);
}

TEST_F(SmsLoginTest, SubAdministratorGetsItsOwnKeysToo) {
  EXPECT_EQ(call("/shops/login_sms_send_subid", {{"phone", "010-3333-4444"}})["result"], true);
  const auto codes = sim.smsCodes();
  ASSERT_EQ(codes.size(), 1u);
  EXPECT_TRUE(codes[0].subAdmin);
  EXPECT_EQ(codes[0].phone, "010-3333-4444");

  const json ok = check("/shops/login_sms_check_subid", "010-3333-4444", codes[0].code);
  EXPECT_EQ(ok["result"], true);
  EXPECT_EQ(ok["id"], demo.id);
  EXPECT_EQ(ok["auth_code"], demo.authCode);
  EXPECT_EQ(ok["id_sub"], demo.subAdmins[0].idSub);
  EXPECT_EQ(ok["auth_code_sub"], demo.subAdmins[0].authCodeSub);
  // The sub-administrator's code does not open the administrator's login.
  EXPECT_EQ(check("/shops/login_sms_check", "010-1111-2222", codes[0].code)["result"], false);
}

TEST_F(SmsLoginTest, RefusalsCarryAMessage) {
  struct Case {
    const char* what;
    const char* path;
    json body;
  };
  const Case cases[] = {
      {"unknown phone", "/shops/login_sms_send", {{"phone", "010-9999-9999"}}},
      {"admin phone on the sub-admin route",
       "/shops/login_sms_send_subid",
       {{"phone", "010-1111-2222"}}},
      {"no phone", "/shops/login_sms_send", json::object()},
      {"check before any code",
       "/shops/login_sms_check",
       {{"phone", "010-1111-2222"}, {"auth", "1234"}}},
      {"check without code", "/shops/login_sms_check", {{"phone", "010-1111-2222"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const json reply = call(c.path, c.body);
    EXPECT_EQ(reply["result"], false);
    EXPECT_FALSE(reply["msg"].get<std::string>().empty());
  }
  EXPECT_TRUE(sim.smsCodes().empty());
}

TEST(SmsFixedCode, IsSentAndAlwaysAccepted) {
  ordersim::Options options;
  options.demoShop = true;
  options.fixedSmsCode = "1234";
  ordersim::OrderSim sim(options);
  sim.start();
  CurlRequest request;
  request.caFile = sim.certPath();
  request.url = "https://" + sim.httpsHost() + "/shops/login_sms_check";
  request.body = R"({"phone":"010-1111-2222","auth":"1234","from":"orderpos"})";
  EXPECT_EQ(json::parse(Perform(request).body)["result"], true);  // no send needed
  request.url = "https://" + sim.httpsHost() + "/shops/login_sms_send";
  request.body = R"({"phone":"010-1111-2222"})";
  Perform(request);
  EXPECT_EQ(sim.lastSmsCode("010-1111-2222"), "1234");
}
