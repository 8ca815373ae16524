// The SMS login against the service: what the operator sees and what setting.ini holds after.

#include <QFile>

#include "ApiWorld.h"
#include "api/SmsLogin.h"
#include "settings/IniFile.h"
#include "settings/ShopSettings.h"

namespace {

const QString kSent = "인증번호가 발송되었습니다.";
const QString kLoginFailed = "로그인에 실패했습니다. 관리자 설정을 확인 후 다시 시도하세요.";

const SmsLoginForm kAdmin{"010-1111-2222", "", false, true};
const SmsLoginForm kSub{"010-3333-4444", "", true, false};

class SmsLogin : public ApiWorld {
 protected:
  QString stored(const char* key) const {
    return IniFile(SettingIniPath()).ReadString("SET", key, "<missing>");
  }
  bool settingsWritten() const { return QFile::exists(SettingIniPath()); }

  // Asks the service for a code and logs in with it.
  bool logIn(SmsLoginForm form) {
    SendAuthSms(form);
    const auto code = sim_.lastSmsCode(form.phone.toStdString());
    EXPECT_TRUE(code.has_value());
    form.code = QString::fromStdString(code.value_or(""));
    return AuthSmsLogin(form);
  }
};

}  // namespace

TEST_F(SmsLogin, SendAuthSmsShowsWhatTheServiceSaid) {
  struct Case {
    const char* name;
    std::string reply;  // empty: the service's own answer
    QStringList boxes;
  } cases[] = {
      {"sent", "", {kSent}},
      {"refused", R"({"result":false,"msg":"등록되지 않은 번호입니다."})", {"등록되지 않은 번호입니다."}},
      {"result as text", R"({"result":"TRUE"})", {kSent}},
      {"refused without msg", R"({"result":false})", {}},
      {"request failed", kServerError, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (!c.reply.empty()) answerNext(c.reply);
    const int before = boxes_.texts().size();
    SendAuthSms(kAdmin);
    EXPECT_EQ(boxes_.texts().mid(before), c.boxes);
  }
}

TEST_F(SmsLogin, AdministratorLogsInWithTheSentCode) {
  ASSERT_TRUE(logIn(kAdmin));
  EXPECT_EQ(stored("LoginPhone"), "010-1111-2222");
  EXPECT_EQ(stored("ShopId"), "101");
  EXPECT_EQ(stored("AuthCode"), "auth101");
  EXPECT_EQ(stored("ShopIdSub"), "");
  EXPECT_EQ(stored("AuthCodeSub"), "");
  EXPECT_EQ(stored("AutoLogin"), "1");
  EXPECT_EQ(stored("isAdmin"), "1");
  EXPECT_EQ(stored("LoginSmsPw").size(), 4);
  EXPECT_EQ(boxes_.texts(), QStringList{kSent});
}

TEST_F(SmsLogin, AdministratorAfterSubAdministratorClearsTheSubKeys) {
  ASSERT_TRUE(logIn(kSub));
  EXPECT_EQ(stored("ShopIdSub"), "sub7");
  EXPECT_EQ(stored("AuthCodeSub"), "subauth7");
  EXPECT_EQ(stored("isAdmin"), "0");
  ASSERT_TRUE(logIn(kAdmin));
  EXPECT_EQ(stored("ShopIdSub"), "");
  EXPECT_EQ(stored("AuthCodeSub"), "");
  EXPECT_EQ(stored("isAdmin"), "1");
}

TEST_F(SmsLogin, CheckReplies) {
  struct Case {
    const char* name;
    SmsLoginForm form;
    std::string reply;
    bool loggedIn;
    QStringList boxes;
  } cases[] = {
      {"refused shows msg", kAdmin, R"({"result": false, "msg": "x"})", false, {"x"}},
      {"no result logs in", kAdmin, R"({"id": "1", "auth_code": "a"})", true, {}},
      {"sub without id_sub", kSub, R"({"result": true, "id": "1", "auth_code": "a", "auth_code_sub": "s"})",
       false, {}},
      {"credential missing", kAdmin, R"({"result": true, "id": "1"})", false, {}},
      {"not JSON", kAdmin, "<html>", false, {}},
      {"request failed", kAdmin, kServerError, false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(SettingIniPath());
    answerNext(c.reply);
    const int before = boxes_.texts().size();
    EXPECT_EQ(AuthSmsLogin(c.form), c.loggedIn);
    EXPECT_EQ(boxes_.texts().mid(before), c.boxes);
    EXPECT_EQ(settingsWritten(), c.loggedIn);
    if (c.loggedIn) {
      EXPECT_EQ(stored("ShopId"), "1");
      EXPECT_EQ(stored("AuthCode"), "a");
      EXPECT_EQ(stored("isAdmin"), "1");
    }
  }
}

TEST_F(SmsLogin, WrongCodeIsRefusedByTheService) {
  SendAuthSms(kAdmin);
  SmsLoginForm wrong = kAdmin;
  wrong.code = "0000";
  if (sim_.lastSmsCode(kAdmin.phone.toStdString()) == "0000") wrong.code = "1111";
  EXPECT_FALSE(AuthSmsLogin(wrong));
  EXPECT_EQ(boxes_.texts().size(), 2);
  EXPECT_FALSE(settingsWritten());
}
