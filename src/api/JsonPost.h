#pragma once
// What every server call does around HTTPS_POST: trace the body, post it, hand back the reply
// (empty when the request failed).

#include <QString>

#include "api/define.h"

// Lets the user interface handle what is pending once before a call blocks.
void LetPendingEventsRun();

// Writes the body to the debug log as its own line and posts it.
QString PostJson(const QString& url, const QString& body);

// The same to the GraphQL address filled with the shop's ShopId and AuthCode.
QString PostGraphql(const TShop& shop, const QString& body);
