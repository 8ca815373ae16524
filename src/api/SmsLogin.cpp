#include "api/SmsLogin.h"

#include <exception>

#include "api/ApiMessages.h"
#include "api/BodyText.h"
#include "api/Endpoints.h"
#include "api/JsonPost.h"
#include "api/JsonReader.h"
#include "api/define.h"
#include "diag/TDebugWindow.h"
#include "platform/MessageBox.h"
#include "settings/IniFile.h"
#include "settings/IniWriteError.h"
#include "settings/ShopSettings.h"

namespace {

void Show(const QString& text) { platform::ShowMessage(text); }

QString What(const std::exception& e) { return QString::fromUtf8(e.what()); }

void WriteLogin(const TShop& login) {
  IniFile ini(SettingIniPath());
  const QString set = QStringLiteral("SET");
  ini.WriteString(set, "LoginPhone", login.LoginPhone);
  ini.WriteString(set, "LoginSmsPw", login.LoginSmsPw);
  ini.WriteString(set, "ShopId", login.ShopId);
  ini.WriteString(set, "ShopIdSub", login.ShopIdSub);
  ini.WriteString(set, "AuthCode", login.AuthCode);
  ini.WriteString(set, "AuthCodeSub", login.AuthCodeSub);
  ini.WriteBool(set, "AutoLogin", login.AutoLogin);
  ini.WriteBool(set, "isAdmin", login.isAdmin);
}

// "result" decides only when it reads as a boolean; a reply without it counts as accepted.
bool Refused(const JsonObject& reply) {
  try {
    return !reply.Bool("result");
  } catch (const JsonError&) {
    return false;
  }
}

}  // namespace

void SendAuthSms(const SmsLoginForm& form) {
  LetPendingEventsRun();
  QString reply;
  try {
    const QString body = FillFormat(QStringLiteral(R"({"phone":"%s"})"),
                                    {JsonText(form.phone.trimmed())});
    reply = PostJson(form.subAdmin ? GetSmsSendSubUrl() : GetSmsSendUrl(), body);
  } catch (const std::exception& e) {
    TDebugWindow::Add("SendAuthSms err : " + What(e));
    Show(QString::fromUtf16(kLoginFailedMessage));
    return;
  }
  try {
    const JsonObject root = JsonObject::Parse(reply);
    Show(root.Bool("result") ? QString::fromUtf16(kSmsSentMessage) : root.Text("msg"));
  } catch (const JsonError&) {
    // An unreadable reply ends the request without a message; HTTPS_POST logged any failure.
  }
}

bool AuthSmsLogin(const SmsLoginForm& form) {
  LetPendingEventsRun();
  const QString phone = form.phone.trimmed();
  const QString code = form.code.trimmed();
  QString reply;
  try {
    const QString body = FillFormat(QStringLiteral(R"({"phone":"%s","auth":"%s","from":"orderpos"})"),
                                    {JsonText(phone), JsonText(code)});
    reply = PostJson(form.subAdmin ? GetSmsCheckSubUrl() : GetSmsCheckUrl(), body);
  } catch (const std::exception& e) {
    TDebugWindow::Add("AuthSmsLogin err : " + What(e));
    Show(QString::fromUtf16(kLoginFailedMessage));
    return false;
  }
  try {
    const JsonObject root = JsonObject::Parse(reply);
    if (Refused(root)) {
      Show(root.Text("msg"));
      return false;
    }
    // Every credential is read before anything is written, so a short reply writes nothing.
    TShop login;
    login.LoginPhone = phone;
    login.LoginSmsPw = code;
    login.AutoLogin = form.autoLogin;
    login.isAdmin = !form.subAdmin;
    login.ShopId = root.Text("id");
    login.AuthCode = root.Text("auth_code");
    if (form.subAdmin) {
      login.ShopIdSub = root.Text("id_sub");
      login.AuthCodeSub = root.Text("auth_code_sub");
    }
    WriteLogin(login);
    return true;
  } catch (const JsonError&) {
    return false;
  } catch (const IniWriteError& e) {
    TDebugWindow::Add("AuthSmsLogin err : " + What(e));
    return false;
  }
}
