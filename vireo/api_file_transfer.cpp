// FT_openSession, FT_getFile, FT_putFile, FT_delete and FT_closeSession of the C interface.

#include "server/vireo.h"
#include "vireo/c_boundary.h"
#include "vireo/handle_registry.h"

namespace azu::vireo {
namespace {

SessionRecord RecordOf(const VIREO_FT_SESSION& session) {
  return SessionRecord{session.id, session.check};
}

bool IsText(const char* text) {
  return text != nullptr && *text != '\0';
}

// Runs `transfer` on the open file session behind `session`.
template <typename Transfer>
VIREO_STATUS OnSession(const VIREO_FT_SESSION* session, Transfer&& transfer) {
  if (session == nullptr) {
    return VIREO_E_ARGUMENT;
  }
  const auto open = Registry().FindSession(RecordOf(*session), SessionKind::kFileTransfer);
  if (!open) {
    return VIREO_E_SESSION;
  }
  return transfer(*open->files, *open->connection);
}

}  // namespace
}  // namespace azu::vireo

using azu::vireo::Connection;
using azu::vireo::FileSession;
using azu::vireo::Guarded;
using azu::vireo::IsText;
using azu::vireo::OnSession;

extern "C" {

VIREO_API VIREO_STATUS FT_openSession(VIREO_CONNECTION connection, VIREO_FT_SESSION* session,
                                      int32_t /*flags*/) {
  return Guarded([&] {
    if (session == nullptr) {
      return VIREO_E_ARGUMENT;
    }
    *session = VIREO_FT_SESSION{0, 0};
    const auto record =
        azu::vireo::Registry().AddSession(connection, azu::vireo::SessionKind::kFileTransfer);
    if (!record) {
      return VIREO_E_CONNECTION;
    }
    *session = VIREO_FT_SESSION{record->id, record->check};
    return VIREO_OK;
  });
}

VIREO_API VIREO_STATUS FT_getFile(VIREO_FT_SESSION* session, const char* serverPath,
                                  const char* localPath, int32_t /*flags*/) {
  return Guarded([&] {
    if (!IsText(serverPath) || !IsText(localPath)) {
      return VIREO_E_ARGUMENT;
    }
    return OnSession(session, [&](FileSession& files, Connection& connection) {
      return files.Get(connection, serverPath, localPath);
    });
  });
}

VIREO_API VIREO_STATUS FT_putFile(VIREO_FT_SESSION* session, const char* localPath,
                                  const char* serverPath, int32_t /*flags*/) {
  return Guarded([&] {
    if (!IsText(serverPath) || !IsText(localPath)) {
      return VIREO_E_ARGUMENT;
    }
    return OnSession(session, [&](FileSession& files, Connection& connection) {
      return files.Put(connection, localPath, serverPath);
    });
  });
}

VIREO_API VIREO_STATUS FT_delete(VIREO_FT_SESSION* session, const char* serverPath,
                                 int32_t /*flags*/) {
  return Guarded([&] {
    if (!IsText(serverPath)) {
      return VIREO_E_ARGUMENT;
    }
    return OnSession(session, [&](FileSession& files, Connection& connection) {
      return files.Delete(connection, serverPath);
    });
  });
}

VIREO_API VIREO_STATUS FT_closeSession(VIREO_FT_SESSION* session, int32_t /*flags*/) {
  return Guarded([&] {
    if (session == nullptr) {
      return VIREO_E_ARGUMENT;
    }
    const bool closed = azu::vireo::Registry().RemoveSession(
        azu::vireo::RecordOf(*session), azu::vireo::SessionKind::kFileTransfer);
    return closed ? VIREO_OK : VIREO_E_SESSION;
  });
}

}  // extern "C"
