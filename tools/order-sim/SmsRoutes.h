#pragma once
// The SMS login API. A code is sent to a known administrator or sub-administrator phone
// (matched on its digits, so 010-1111-2222 and 01011112222 are one phone); the latest code sent
// to a phone stays valid, so automatic login can send it again at the next start. A fixed code
// (for the demo) is always valid for a known phone.

#include "HttpListener.h"
#include "ServiceState.h"

namespace ordersim {

// The caller holds state.mutex.
HttpResponse SmsSend(ServiceState& state, const std::string& body, bool subAdmin);
HttpResponse SmsCheck(ServiceState& state, const std::string& body, bool subAdmin);

std::string DigitsOf(std::string_view text);

}  // namespace ordersim
