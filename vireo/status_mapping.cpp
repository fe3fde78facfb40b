#include "vireo/status_mapping.h"

namespace azu::vireo {

VIREO_STATUS StatusOfAnswer(const HttpAnswer& answer, Exchange exchange, int success) {
  switch (answer.transport) {
    case Transport::kAnswered:
      break;
    case Transport::kUnreachable:
      return VIREO_E_UNREACHABLE;
    case Transport::kTooLarge:
      return VIREO_E_TOO_LARGE;
    case Transport::kBroken:
      return VIREO_E_PROTOCOL;
    case Transport::kKeyMismatch:
      return VIREO_E_HOSTKEY;
  }
  const int status = answer.status;
  if (status == success) {
    return VIREO_OK;
  }
  switch (status) {
    case 400:
      return exchange == Exchange::kAttribute ? VIREO_E_ATTRIBUTE : VIREO_E_ARGUMENT;
    case 401:
      return exchange == Exchange::kLogin ? VIREO_E_AUTH : VIREO_E_SESSION_ENDED;
    case 403:
      return VIREO_E_PATH;
    case 404:
      return VIREO_E_NOT_FOUND;
    case 412:
      return VIREO_E_CONFLICT;
    case 413:
      return VIREO_E_TOO_LARGE;
    default:
      return status >= 500 && status <= 599 ? VIREO_E_SERVER : VIREO_E_PROTOCOL;
  }
}

}  // namespace azu::vireo
