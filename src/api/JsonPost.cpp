#include "api/JsonPost.h"

#include <QCoreApplication>

#include "api/BodyText.h"
#include "api/Endpoints.h"
#include "api/HttpsPost.h"
#include "diag/TDebugWindow.h"

void LetPendingEventsRun() { QCoreApplication::processEvents(); }

QString PostJson(const QString& url, const QString& body) {
  TDebugWindow::Add(body);
  // Every body is ASCII apart from texts the operator typed; UTF-8 is what the service reads.
  const QByteArray bytes = body.toUtf8();
  QString reply;
  HTTPS_POST(url, bytes, reply);
  return reply;
}

QString PostGraphql(const TShop& shop, const QString& body) {
  return PostJson(FillFormat(GetGqlUrl(), {shop.ShopId, shop.AuthCode}), body);
}
