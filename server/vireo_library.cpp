#ifdef _WIN32
#include <windows.h>
#endif

#include <array>
#include <cstdint>
#include <vector>

#include "server/server_library.h"

namespace azu {
namespace {

// The user every connection of the program logs in as.
constexpr const char* kAdminUser = "admin";
constexpr const char* kLocalHost = "localhost";
// "sha256:" and 64 hex digits fit with room; a longer path than PATH_MAX is shown cut.
constexpr std::uint32_t kFingerprintBuffer = 128;
constexpr std::uint32_t kFileBuffer = 4096;

constexpr std::uint32_t kAttributeBuffer = 1025;  // the server's longest value and its NUL

using KeyMismatchCall = VIREO_STATUS (*)(const char*, char*, std::uint32_t, char*, std::uint32_t,
                                         char*, std::uint32_t);

using GetAttributeCall = VIREO_STATUS (*)(VIREO_ATTR_SESSION*, const char*, char*, std::uint32_t);

// Our library's own functions (why a server's key was refused, reading an attribute); the maker's
// has neither, so on Windows they are looked up at run time and absent there.
#ifdef _WIN32
void* OwnFunction(const char* name) {
  HMODULE const library = GetModuleHandleA("vireo10.dll");
  if (library == nullptr) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(library, name));
}
#endif

KeyMismatchCall KeyMismatchFunction() {
#ifdef _WIN32
  return reinterpret_cast<KeyMismatchCall>(OwnFunction("VIREO_getKeyMismatch"));
#else
  return VIREO_getKeyMismatch;
#endif
}

GetAttributeCall GetAttributeFunction() {
#ifdef _WIN32
  return reinterpret_cast<GetAttributeCall>(OwnFunction("VIREO_getAttribute"));
#else
  return VIREO_getAttribute;
#endif
}

class Vireo final : public ServerLibrary {
 public:
  VIREO_STATUS Connect(const std::string& server, const std::string& password,
                       VIREO_CONNECTION* connection) override {
    return INIT_connect(server.c_str(), kAdminUser, password.c_str(), 0, 0, 0, -1, -1, 1, 3, 0,
                        connection, 0);
  }
  VIREO_STATUS ConnectLocal(const std::string& password, VIREO_CONNECTION* connection) override {
    return AZUM_connectUTF8(kLocalHost, kAdminUser, password.c_str(), password.c_str(), -1, -1,
                            connection, 0);
  }
  void Disconnect(VIREO_CONNECTION connection) override { INIT_disconnect(connection, 0); }
  std::optional<ServerKeyMismatch> KeyMismatch(const std::string& server) override {
    std::array<char, kFingerprintBuffer> shown{};
    std::array<char, kFingerprintBuffer> pinned{};
    std::vector<char> file(kFileBuffer);
    const auto getKeyMismatch = KeyMismatchFunction();
    if (getKeyMismatch == nullptr ||
        getKeyMismatch(server.c_str(), shown.data(), kFingerprintBuffer, pinned.data(),
                       kFingerprintBuffer, file.data(), kFileBuffer) != VIREO_OK) {
      return std::nullopt;
    }
    return ServerKeyMismatch{shown.data(), pinned.data(), file.data()};
  }

  VIREO_STATUS OpenSession(VIREO_CONNECTION connection, VIREO_FT_SESSION* session) override {
    return FT_openSession(connection, session, 0);
  }
  VIREO_STATUS GetFile(VIREO_FT_SESSION* session, const std::string& serverPath,
                       const std::string& localPath) override {
    return FT_getFile(session, serverPath.c_str(), localPath.c_str(), 0);
  }
  VIREO_STATUS PutFile(VIREO_FT_SESSION* session, const std::string& localPath,
                       const std::string& serverPath) override {
    return FT_putFile(session, localPath.c_str(), serverPath.c_str(), 0);
  }
  VIREO_STATUS Delete(VIREO_FT_SESSION* session, const std::string& serverPath) override {
    return FT_delete(session, serverPath.c_str(), 0);
  }
  void CloseSession(VIREO_FT_SESSION* session) override { FT_closeSession(session, 0); }

  VIREO_STATUS OpenAttributes(VIREO_CONNECTION connection, VIREO_ATTR_SESSION* session) override {
    return ATTR_openSession(connection, session, 0);
  }
  VIREO_STATUS SetAttribute(VIREO_ATTR_SESSION* session, const std::string& name,
                            const std::string& value) override {
    return ATTR_setDefault(session, 0, name.c_str(), value.c_str(), 0);
  }
  void CloseAttributes(VIREO_ATTR_SESSION* session) override { ATTR_closeSession(session, 0); }
  VIREO_STATUS GetAttribute(VIREO_ATTR_SESSION* session, const std::string& name,
                            std::optional<std::string>* value) override {
    value->reset();
    const auto getAttribute = GetAttributeFunction();
    if (getAttribute == nullptr) return VIREO_E_UNSUPPORTED;
    std::array<char, kAttributeBuffer> text{};
    const VIREO_STATUS status = getAttribute(session, name.c_str(), text.data(), kAttributeBuffer);
    if (status == VIREO_E_NOT_FOUND) return VIREO_OK;
    if (status == VIREO_OK) *value = text.data();
    return status;
  }

  VIREO_STATUS Reboot(VIREO_CONNECTION connection) override { return SERVER_reboot(connection, 0); }
  VIREO_STATUS Restart(VIREO_CONNECTION connection) override {
    return SERVER_restart(connection, 0);
  }
};

}  // namespace

ServerLibrary& VireoLibrary() {
  static Vireo library;
  return library;
}

}  // namespace azu
