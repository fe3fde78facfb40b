#pragma once
// One connection to a Zorne server: its address, the session token of the login, and the
// exchanges made under it, one at a time.

#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "server/vireo.h"
#include "vireo/http_client.h"
#include "vireo/known_servers.h"
#include "vireo/server_address.h"

namespace azu::vireo {

class Connection {
 public:
  // `named`: the server as the caller named it, for the report of a key mismatch.
  Connection(const ServerAddress& server, std::string named);
  // The last connection of the process to close writes the keys pinned meanwhile (FlushPins).
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  Connection(Connection&&) = delete;
  Connection& operator=(Connection&&) = delete;

  // Logs in; on success later exchanges carry the token. The server's key must be the one
  // pinned for it (else VIREO_E_HOSTKEY before the password is sent); with none pinned, the key
  // of a successful login is pinned (KnownServers::PinLater).
  [[nodiscard]] VIREO_STATUS Login(std::string_view user, std::string_view password);
  // Ends the server's session; failures do not matter to a caller that is leaving.
  void Logout();
  // The server ended the session itself: there is nothing left to log out of.
  void SessionEnded();

  // Sends `request` under the session token. Thread-safe.
  [[nodiscard]] HttpAnswer Send(HttpRequest request);

  // Posts a form (or nothing) to `target`, expecting 204.
  [[nodiscard]] VIREO_STATUS PostForm(std::string_view target, std::string body, bool is_attribute);

 private:
  const KnownServers known_;
  const std::string pin_name_;  // "host:port" in the known-servers file
  const std::string named_;
  const std::optional<std::string> pinned_;
  std::mutex mutex_;
  HttpClient http_;
  std::string token_;
};

// A login answer's token: 32 lower-case hex digits.
[[nodiscard]] bool IsSessionToken(std::string_view text);

}  // namespace azu::vireo
