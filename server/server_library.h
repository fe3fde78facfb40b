#pragma once
// The server-access library as the transactions use it: one interface over the C functions, so
// tests can put a library in its place that fails at any step.

#include <optional>
#include <string>

#include "server/vireo.h"

namespace azu {

// Why a server was refused with VIREO_E_HOSTKEY: the two key fingerprints and the file of pins.
struct ServerKeyMismatch {
  std::string shown;   // the key the server showed
  std::string pinned;  // the key pinned for it
  std::string file;    // the known-servers file, as the library names it
};

class ServerLibrary {
 public:
  virtual ~ServerLibrary() = default;

  // INIT_connect(server, "admin", password, 0, 0, 0, -1, -1, 1, 3, 0, &connection, 0).
  virtual VIREO_STATUS Connect(const std::string& server, const std::string& password,
                               VIREO_CONNECTION* connection) = 0;
  // AZUM_connectUTF8("localhost", "admin", password, password, -1, -1, &connection, 0).
  virtual VIREO_STATUS ConnectLocal(const std::string& password, VIREO_CONNECTION* connection) = 0;
  virtual void Disconnect(VIREO_CONNECTION connection) = 0;
  // After Connect(server, ...) gave VIREO_E_HOSTKEY: VIREO_getKeyMismatch(server, ...), with the
  // same server text. nullopt when the library knows no mismatch of `server`.
  virtual std::optional<ServerKeyMismatch> KeyMismatch(const std::string& server) = 0;

  virtual VIREO_STATUS OpenSession(VIREO_CONNECTION connection, VIREO_FT_SESSION* session) = 0;
  virtual VIREO_STATUS GetFile(VIREO_FT_SESSION* session, const std::string& serverPath,
                               const std::string& localPath) = 0;
  virtual VIREO_STATUS PutFile(VIREO_FT_SESSION* session, const std::string& localPath,
                               const std::string& serverPath) = 0;
  virtual VIREO_STATUS Delete(VIREO_FT_SESSION* session, const std::string& serverPath) = 0;
  virtual void CloseSession(VIREO_FT_SESSION* session) = 0;

  virtual VIREO_STATUS OpenAttributes(VIREO_CONNECTION connection, VIREO_ATTR_SESSION* session) = 0;
  virtual VIREO_STATUS SetAttribute(VIREO_ATTR_SESSION* session, const std::string& name,
                                    const std::string& value) = 0;
  virtual void CloseAttributes(VIREO_ATTR_SESSION* session) = 0;
  // VIREO_getAttribute, which only our library has: the attribute's value, nullopt when the
  // server has none. VIREO_E_UNSUPPORTED from a library that cannot read attributes.
  virtual VIREO_STATUS GetAttribute(VIREO_ATTR_SESSION* session, const std::string& name,
                                    std::optional<std::string>* value) = 0;

  virtual VIREO_STATUS Reboot(VIREO_CONNECTION connection) = 0;
  virtual VIREO_STATUS Restart(VIREO_CONNECTION connection) = 0;
};

// The library itself (libvireo, or the maker's DLL on Windows).
ServerLibrary& VireoLibrary();

}  // namespace azu
