#pragma once
// The ordering service's own routes (SMS login, GraphQL, version page, installer, error
// reports), with the request record and the injected faults in front of them.

#include "HttpListener.h"
#include "ServiceState.h"
#include "StopSignal.h"

namespace ordersim {

std::optional<HttpResponse> HandleServiceRequest(ServiceState& state, StopSignal& stop,
                                                 const Incoming& incoming);

// Adds the request to state.requests (the caller holds state.mutex).
void RecordRequest(ServiceState& state, const Incoming& incoming);

}  // namespace ordersim
