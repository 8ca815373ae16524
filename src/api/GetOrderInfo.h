#pragma once
// The order query: one order by its token, outcome in errMsg (see OrderParse.h).

#include <QString>

#include "api/define.h"

TOrderInfo GetOrderInfo(const QString& token, const TShop& shop);
