#pragma once
// HTTP/1.1 exchanges with one server: a request in, its status, body and version tag out.
// The only file that knows cpp-httplib.

#include <memory>
#include <string>
#include <string_view>

#include "vireo/server_address.h"

namespace httplib {
class Client;
}

namespace azu::vireo {

struct HttpRequest {
  std::string_view method;  // "GET", "PUT", "POST", "DELETE"
  std::string target;       // path and query, already percent-encoded
  std::string bearer;       // session token; empty: none
  std::string if_match;     // version the server copy must still have; empty: none
  std::string body;
  std::string_view content_type;  // empty: none
};

// How far an exchange got.
enum class Transport {
  kAnswered,     // status, body and version tag are the server's
  kUnreachable,  // no connection within the connect time limit
  kBroken,       // the connection broke, timed out or the answer was not HTTP
  kTooLarge,     // the answer body grew past the transfer limit; it was dropped
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
  explicit HttpClient(const ServerAddress& server);
  ~HttpClient();
  HttpClient(const HttpClient&) = delete;
  HttpClient& operator=(const HttpClient&) = delete;
  HttpClient(HttpClient&&) = delete;
  HttpClient& operator=(HttpClient&&) = delete;

  [[nodiscard]] HttpAnswer Send(const HttpRequest& request);

 private:
  std::unique_ptr<httplib::Client> client_;
};

}  // namespace azu::vireo
