// ATTR_openSession, ATTR_setDefault and ATTR_closeSession of the C interface.

#include "server/vireo.h"
#include "vireo/c_boundary.h"
#include "vireo/handle_registry.h"
#include "vireo/protocol.h"
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
