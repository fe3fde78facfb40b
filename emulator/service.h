#pragma once
// What the Zorne server does for each request, apart from HTTP: login and sessions, files,
// attributes, reboot and restart. The HTTP server and the fuzz target feed it the same Request.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "emulator/attributes.h"
#include "emulator/clock.h"
#include "emulator/event_log.h"
#include "emulator/file_store.h"
#include "emulator/login_guard.h"
#include "emulator/sessions.h"

namespace azu::emulator {

// Hands the body to `sink` piece by piece until it ends or `sink` returns false. False when the
// body did not arrive whole (broken, too slow, or stopped by the sink).
using BodySink = std::function<bool(std::string_view piece)>;
using BodyReader = std::function<bool(const BodySink& sink)>;

struct Request {
  std::string method;
  std::string path;                                        // without the query
  std::vector<std::pair<std::string, std::string>> query;  // decoded once
  // nullopt when absent; a header given twice arrives as "" and is refused.
  std::optional<std::string> authorization;
  std::optional<std::string> if_match;
  std::string client;  // the client's IP address
  // The body's announced size, when announced; one over the limit is refused unread.
  std::optional<std::uint64_t> content_length;
  BodyReader read_body;  // may be empty: no body
};

struct Response {
  int status = 500;
  std::string body;
  std::string content_type;  // set when body is
  std::string etag;          // quoted, set on file answers
  // The request body was not read to its end; the connection cannot carry another request.
  bool close_connection = false;
};

struct ServiceSettings {
  std::filesystem::path root;
  std::string password;
  std::chrono::seconds session_idle{600};
  // A session ends this long after its login, however busy it is.
  std::chrono::seconds session_lifetime{8 * 3600};
};

// The whole server behind the transport; Handle() may run on many threads at once.
class Service {
 public:
  static constexpr std::string_view kUser = "admin";
  // Sessions open at once, at most; more logins get 503 until some end.
  static constexpr std::size_t kMostSessions = 1024;
  // Login and attribute forms are small; a larger one is refused unread.
  static constexpr std::size_t kMaxFormSize = 8192;

  // nullptr (and `error`) when the root is not a usable folder.
  static std::unique_ptr<Service> Create(const ServiceSettings& settings, Clock& clock,
                                         EventLog& log, std::string& error);

  Response Handle(const Request& request);

  enum class Route {
    kLogin,
    kLogout,
    kGetFile,
    kPutFile,
    kDeleteFile,
    kAttribute,
    kReboot,
    kRestart,
    kWrongMethod,  // a known path with another method
  };
  // nullopt for an unknown path.
  static std::optional<Route> RouteOf(const Request& request);

 private:
  Service(std::unique_ptr<FileStore> files, const ServiceSettings& settings, Clock& clock,
          EventLog& log);

  struct Caller {
    std::uint64_t session = 0;
  };
  Response Dispatch(const Request& request);
  Response Login(const Request& request);
  Response Logout(const Request& request, const Caller& caller);
  Response GetFile(const Request& request, const std::string& path);
  Response PutFile(const Request& request, const std::string& path);
  Response DeleteFile(const Request& request, const std::string& path);
  Response SetAttribute(const Request& request);
  Response EndSessions(const Request& request, std::string_view event);

  // The session of the request, or the 401 answer.
  std::optional<Caller> Authorize(const Request& request, Response& refusal);
  Response Refuse(const Request& request, int status, std::string_view reason,
                  std::string_view path = {});
  void ExpireIdleSessions();

  std::unique_ptr<FileStore> files_;
  AttributeStore attributes_;
  SessionTable sessions_;
  LoginGuard login_guard_;
  EventLog& log_;
};

// The state folder under a root (events log, attributes), created when missing.
std::optional<std::filesystem::path> PrepareStateFolder(const std::filesystem::path& root);

}  // namespace azu::emulator
