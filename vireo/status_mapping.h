#pragma once
// The library status for a server's answer to one exchange.

#include "server/vireo.h"
#include "vireo/http_client.h"

namespace azu::vireo {

// Which exchange an answer belongs to; 401 and 400 mean different things in each.
enum class Exchange {
  kLogin,      // 401: wrong user or password
  kAttribute,  // 400: the name or value was refused
  kOther,
};

// VIREO_OK when the answer is the exchange's `success` status; else the failure it means.
[[nodiscard]] VIREO_STATUS StatusOfAnswer(const HttpAnswer& answer, Exchange exchange, int success);

}  // namespace azu::vireo
