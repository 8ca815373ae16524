#pragma once
// Receipt bytes: code page 949 text with ESC/POS commands. The strings may hold 00 bytes, so
// always pass them with their size.

#include "api/define.h"

#include <string>

std::string MakeOrderReceipt(const TShop& shop, const TOrderInfo& order);
std::string MakeTestReceipt(const TShop& shop);
