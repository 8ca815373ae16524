#pragma once
// The reply handling of GetShopInfo: fills the server's shop fields of a record loaded from the
// settings. errMsg "err" means the server refused or named no shop (the caller shows the login
// message); any other non-empty errMsg is the reader's failure, logged here, and the fields
// read before the failure keep their values.

#include "api/define.h"

void ApplyShopReply(const QString& reply, TShop& shop);
