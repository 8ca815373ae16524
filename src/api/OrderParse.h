#pragma once
// Turns the order query's reply into a TOrderInfo. The outcome is in errMsg: empty when the
// order was read, "결과없음" when no order matched, "err" when the server reported errors,
// otherwise the reader's failure message. A record that failed to read is always empty.

#include "api/JsonReader.h"
#include "api/define.h"

// Fills a fresh record from one order node. On a failure it logs "OrderParse err : " and
// returns an empty record whose errMsg holds the failure's message.
TOrderInfo OrderParse(const JsonObject& node);

// The reply handling of GetOrderInfo after HTTPS_POST (an empty reply fails to parse). Writes
// the outcome line to the debug log.
TOrderInfo OrderFromReply(const QString& reply);
