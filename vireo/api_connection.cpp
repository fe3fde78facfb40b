// INIT_connect, AZUM_connectUTF8, INIT_disconnect and the server control of the C interface.

#include <cstring>
#include <memory>

#include "server/vireo.h"
#include "vireo/c_boundary.h"
#include "vireo/handle_registry.h"
#include "vireo/protocol.h"
#include "vireo/settings.h"

namespace azu::vireo {
namespace {

VIREO_STATUS Connect(const char* server, const char* user, const char* password,
                     VIREO_CONNECTION* connection) {
  if (connection == nullptr) {
    return VIREO_E_ARGUMENT;
  }
  *connection = 0;
  if (server == nullptr || user == nullptr || password == nullptr || *user == '\0') {
    return VIREO_E_ARGUMENT;
  }
  const auto default_port = DefaultPort();
  if (!default_port) {
    return VIREO_E_ARGUMENT;
  }
  const auto address = ParseServerAddress(server, *default_port);
  if (!address) {
    return VIREO_E_ARGUMENT;
  }
  auto opened = std::make_shared<Connection>(*address, server);
  if (const VIREO_STATUS status = opened->Login(user, password); status != VIREO_OK) {
    return status;
  }
  const std::uint32_t handle = Registry().AddConnection(opened);
  if (handle == 0) {
    opened->Logout();
    return VIREO_E_NO_MEMORY;
  }
  *connection = handle;
  return VIREO_OK;
}

VIREO_STATUS Control(VIREO_CONNECTION handle, std::string_view target) {
  const auto connection = Registry().FindConnection(handle);
  if (connection == nullptr) {
    return VIREO_E_CONNECTION;
  }
  const VIREO_STATUS status = connection->PostForm(target, {}, false);
  // A reboot or restart ends the server's sessions, this one included.
  if (status == VIREO_OK) connection->SessionEnded();
  return status;
}

}  // namespace
}  // namespace azu::vireo

using azu::vireo::Guarded;

extern "C" {

VIREO_API VIREO_STATUS INIT_connect(const char* server, const char* user, const char* password,
                                    int32_t /*reserved1*/, int32_t /*reserved2*/,
                                    int32_t /*reserved3*/, int32_t /*reserved4*/,
                                    int32_t /*reserved5*/, int32_t /*reserved6*/,
                                    int32_t /*reserved7*/, int32_t /*reserved8*/,
                                    VIREO_CONNECTION* connection, int32_t /*flags*/) {
  return Guarded([&] { return azu::vireo::Connect(server, user, password, connection); });
}

VIREO_API VIREO_STATUS AZUM_connectUTF8(const char* host, const char* user, const char* password,
                                        const char* password2, int32_t /*reserved1*/,
                                        int32_t /*reserved2*/, VIREO_CONNECTION* connection,
                                        int32_t /*flags*/) {
  return Guarded([&] {
    if (connection != nullptr) {
      *connection = 0;
    }
    if (password == nullptr || password2 == nullptr || std::strcmp(password, password2) != 0) {
      return VIREO_E_ARGUMENT;
    }
    return azu::vireo::Connect(host, user, password, connection);
  });
}

VIREO_API VIREO_STATUS INIT_disconnect(VIREO_CONNECTION connection, int32_t /*flags*/) {
  return Guarded([&] {
    const auto closed = azu::vireo::Registry().RemoveConnection(connection);
    if (closed == nullptr) {
      return VIREO_E_CONNECTION;
    }
    closed->Logout();
    return VIREO_OK;
  });
}

VIREO_API VIREO_STATUS SERVER_reboot(VIREO_CONNECTION connection, int32_t /*flags*/) {
  return Guarded([&] { return azu::vireo::Control(connection, azu::vireo::kRebootTarget); });
}

VIREO_API VIREO_STATUS SERVER_restart(VIREO_CONNECTION connection, int32_t /*flags*/) {
  return Guarded([&] { return azu::vireo::Control(connection, azu::vireo::kRestartTarget); });
}

}  // extern "C"
