// ATTR_openSession, ATTR_setDefault and ATTR_closeSession of the C interface, and our own
// VIREO_getAttribute.

#include <cstring>

#include "server/vireo.h"
#include "vireo/c_boundary.h"
#include "vireo/handle_registry.h"
#include "vireo/protocol.h"
#include "vireo/status_mapping.h"
#include "vireo/url_encoding.h"

namespace azu::vireo {
namespace {

SessionRecord RecordOf(const VIREO_ATTR_SESSION& session) {
  return SessionRecord{session.id, session.check};
}

VIREO_STATUS SetAttribute(const VIREO_ATTR_SESSION* session, const char* name, const char* value) {
  if (session == nullptr || name == nullptr || *name == '\0' || value == nullptr) {
    return VIREO_E_ARGUMENT;
  }
  const auto open = Registry().FindSession(RecordOf(*session), SessionKind::kAttribute);
  if (!open) {
    return VIREO_E_SESSION;
  }
  return open->connection->PostForm(kAttributeTarget,
                                    FormEncode({{"name", name}, {"value", value}}), true);
}

VIREO_STATUS GetAttribute(const VIREO_ATTR_SESSION* session, const char* name, char* value,
                          std::uint32_t value_size) {
  if (session == nullptr || name == nullptr || *name == '\0' || value == nullptr ||
      value_size == 0) {
    return VIREO_E_ARGUMENT;
  }
  *value = '\0';
  const auto open = Registry().FindSession(RecordOf(*session), SessionKind::kAttribute);
  if (!open) {
    return VIREO_E_SESSION;
  }
  HttpRequest request;
  request.method = "GET";
  request.target = std::string(kAttributeTarget) + "?name=" + PercentEncode(name);
  const HttpAnswer answer = open->connection->Send(std::move(request));
  if (const VIREO_STATUS status = StatusOfAnswer(answer, Exchange::kAttribute, kHttpOk);
      status != VIREO_OK) {
    return status;
  }
  // A value cut to the buffer would compare equal to the wrong one.
  if (answer.body.size() >= value_size || answer.body.find('\0') != std::string::npos) {
    return VIREO_E_TOO_LARGE;
  }
  std::memcpy(value, answer.body.c_str(), answer.body.size() + 1);
  return VIREO_OK;
}

}  // namespace
}  // namespace azu::vireo

using azu::vireo::Guarded;

extern "C" {

VIREO_API VIREO_STATUS ATTR_openSession(VIREO_CONNECTION connection, VIREO_ATTR_SESSION* session,
                                        int32_t /*flags*/) {
  return Guarded([&] {
    if (session == nullptr) {
      return VIREO_E_ARGUMENT;
    }
    *session = VIREO_ATTR_SESSION{0, 0};
    const auto record =
        azu::vireo::Registry().AddSession(connection, azu::vireo::SessionKind::kAttribute);
    if (!record) {
      return VIREO_E_CONNECTION;
    }
    *session = VIREO_ATTR_SESSION{record->id, record->check};
    return VIREO_OK;
  });
}

VIREO_API VIREO_STATUS ATTR_setDefault(VIREO_ATTR_SESSION* session, int32_t /*reserved*/,
                                       const char* name, const char* value, int32_t /*flags*/) {
  return Guarded([&] { return azu::vireo::SetAttribute(session, name, value); });
}

VIREO_API VIREO_STATUS VIREO_getAttribute(VIREO_ATTR_SESSION* session, const char* name,
                                          char* value, uint32_t valueSize) {
  return Guarded([&] { return azu::vireo::GetAttribute(session, name, value, valueSize); });
}

VIREO_API VIREO_STATUS ATTR_closeSession(VIREO_ATTR_SESSION* session, int32_t /*flags*/) {
  return Guarded([&] {
    if (session == nullptr) {
      return VIREO_E_ARGUMENT;
    }
    const bool closed = azu::vireo::Registry().RemoveSession(azu::vireo::RecordOf(*session),
                                                             azu::vireo::SessionKind::kAttribute);
    return closed ? VIREO_OK : VIREO_E_SESSION;
  });
}

}  // extern "C"
