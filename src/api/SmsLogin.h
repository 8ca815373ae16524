#pragma once
// The SMS login: ask for a code, then check it and store the shop's credentials in setting.ini.
// Both tell the operator what happened through message boxes.

#include <QString>

// The login window's state the two requests read.
struct SmsLoginForm {
  QString phone;          // as the field shows it (hyphenated); sent that way
  QString code;           // the 4-digit SMS code
  bool subAdmin = false;  // the sub-administrator toggle is down (else the administrator one)
  bool autoLogin = false;
};

void SendAuthSms(const SmsLoginForm& form);

// True when the login succeeded and the credentials are in setting.ini.
bool AuthSmsLogin(const SmsLoginForm& form);
