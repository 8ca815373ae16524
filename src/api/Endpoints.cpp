#include "api/Endpoints.h"

#include "settings/ServerConfig.h"

QString GetWebUrl() { return "https://" + LoadServerConfig().WebHost; }

QString GetOrderHost() { return LoadServerConfig().OrderHost; }

QString GetSocketUrl() { return "wss://" + GetOrderHost(); }

QString GetGqlUrl() { return "https://" + GetOrderHost() + "/gql?id=%s&auth_code=%s"; }

QString GetSmsSendUrl() { return GetWebUrl() + "/shops/login_sms_send"; }

QString GetSmsSendSubUrl() { return GetWebUrl() + "/shops/login_sms_send_subid"; }

QString GetSmsCheckUrl() { return GetWebUrl() + "/shops/login_sms_check"; }

QString GetSmsCheckSubUrl() { return GetWebUrl() + "/shops/login_sms_check_subid"; }

QString GetStoreLoginUrl() {
  const QString web = GetWebUrl();
  return web + "/store/login?is_sub=%s&id=%s&auth_code=%s&redirect_url=" + web +
         "/store2/order/list";
}
