#pragma once
// The logged-in shop: its record (settings plus, with the query, the server's data), the two
// order counters and the switch that stops taking orders. Each reports its own failures.

#include <QString>

#include "api/define.h"

// Settings only without the query (no request, errMsg empty). With it errMsg is empty on
// success, "err" when the server refused or named no shop, else the reply's reading failure.
// A failed write of the "ComPort" migration throws IniWriteError.
TShop GetShopInfo(bool withQuery);

int GetWaitCnt(const TShop& shop);       // orders in ORDER or PAY; 0 on any failure
QString GetTotalCnt(const TShop& shop);  // orders in ORDER, PAY or WORKING as text; "0" on failure
bool SetUseStop(const TShop& shop, bool stop);  // true when the server took the change
