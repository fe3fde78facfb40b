#pragma once
// HTTP/1.1 exchanges with one server over TLS: a request in, its status, body and version tag
// out. The server's key must be the one pinned for it, or, with none pinned, the one its first
// handshake showed; it is checked after every handshake, before a byte of a request is sent.
// libcurl and OpenSSL on POSIX (http_client.cpp), Schannel over Winsock on Windows
// (http_client_win.cpp).

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "vireo/server_address.h"

namespace azu::vireo {

struct HttpRequest {
  std::string_view method;  // "GET", "PUT", "POST", "DELETE"
  std::string target;       // path and query, already percent-encoded
  std::string bearer;       // session token; empty: none
  std::string if_match;     // version the server copy must still have; empty: none
  std::string body;
  std::string_view content_type;  // empty: none
  // Instead of `body`: `body_size` bytes given piece by piece into the buffer; nullopt stops the
  // exchange.
  std::function<std::optional<std::size_t>(char* buffer, std::size_t room)> give_body;
  std::uint64_t body_size = 0;
  // Takes the body of a 2xx answer piece by piece instead of HttpAnswer::body; false stops the
  // exchange.
  std::function<bool(std::string_view piece)> take_body;
};

// How far an exchange got.
enum class Transport {
  kAnswered,     // status, body and version tag are the server's
  kUnreachable,  // no connection within the connect time limit
  kBroken,       // the connection broke, timed out or the answer was not HTTP
  kTooLarge,     // the answer body grew past the transfer limit; it was dropped
  kKeyMismatch,  // the server's key is not the pinned one; nothing was sent
};

struct HttpAnswer {
  Transport transport = Transport::kBroken;
  int status = 0;
  std::string body;
  std::string etag;  // as the server sent it, quotes included
};

// Not thread-safe: its owner serialises the exchanges.
class HttpClient {
 public:
  // `pinned`: the fingerprint the server's key must have; nullopt: the first one seen.
  HttpClient(const ServerAddress& server, std::optional<std::string> pinned);
  ~HttpClient();
  HttpClient(const HttpClient&) = delete;
  HttpClient& operator=(const HttpClient&) = delete;
  HttpClient(HttpClient&&) = delete;
  HttpClient& operator=(HttpClient&&) = delete;

  [[nodiscard]] HttpAnswer Send(const HttpRequest& request);

  // The fingerprint of the key the server showed in the last handshake; "" before one.
  [[nodiscard]] const std::string& SeenKey() const;

  struct KeyCheck;

 private:
  struct Session;  // the platform's connection state
  std::unique_ptr<KeyCheck> key_;
  std::unique_ptr<Session> session_;
};

}  // namespace azu::vireo
