#pragma once
// Every server address, built on demand from server.ini. Placeholders ("%s") are left for the
// caller to fill with FillFormat; the values go in as they are, without percent-encoding.

#include <QString>

QString GetWebUrl();          // "https://" + web host, no trailing "/"
QString GetOrderHost();       // the order host as configured (host[:port]), no scheme
QString GetSocketUrl();       // "wss://" + order host
QString GetGqlUrl();          // ".../gql?id=%s&auth_code=%s"
QString GetSmsSendUrl();
QString GetSmsSendSubUrl();
QString GetSmsCheckUrl();
QString GetSmsCheckSubUrl();
QString GetStoreLoginUrl();   // is_sub, id, auth_code placeholders; redirect_url appended unencoded
