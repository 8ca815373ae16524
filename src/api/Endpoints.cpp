#include "api/Endpoints.h"

#include "settings/ServerConfig.h"

namespace {

// A host written with a trailing "/" in server.ini must not give "//" in the paths.
QString HostOnly(QString host) {
  host = host.trimmed();
  while (host.endsWith('/')) host.chop(1);
  return host;
}

}  // namespace

QString GetWebUrl() { return "https://" + HostOnly(LoadServerConfig().WebHost); }

QString GetOrderHost() { return HostOnly(LoadServerConfig().OrderHost); }

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
