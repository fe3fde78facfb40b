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
  // Instead of `body`: an open file to send, `file_size` bytes from its start.
  std::shared_ptr<OpenFile> file;
  std::uint64_t file_size = 0;
  // The request body was not read to its end; the connection cannot carry another request.
  bool close_connection = false;
  // Not to be sent before this time (a failed login's delay); the transport holds it till then.
  Clock::TimePoint not_before{};
};

// A request taken as an event-driven transport has it: the head first, then the body piece by
// piece, so that a stored file goes to disk as it arrives.
struct Started {
  // Set when the answer needs no body; any body is left unread.
  std::optional<Response> answer;
  // Otherwise the body goes here; false when the rest of it is not wanted.
  std::function<bool(std::string_view piece)> take;
  // And this answers at the body's end; `whole` is false when it did not arrive whole.
  std::function<Response(bool whole)> finish;
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

  // The head of a request; what it needs of the body follows through the result.
  Started Start(const Request& request);
  // The whole request at once, its body read through request.read_body; waits out a delay.
  Response Handle(const Request& request);

  enum class Route {
    kLogin,
    kLogout,
    kGetFile,
    kPutFile,
    kDeleteFile,
    kAttribute,
    kReadAttribute,
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
  Started Dispatch(const Request& request);
  Response Login(const Request& request, const std::string& form_text);
  Response Logout(const Request& request, const Caller& caller);
  Response GetFile(const Request& request, const std::string& path);
  Started PutFile(const Request& request, const std::string& path);
  Response DeleteFile(const Request& request, const std::string& path);
  Response SetAttribute(const Request& request, const std::string& form_text);
  Response ReadAttribute(const Request& request, const std::string& name);
  // Collects a small form body, then answers with `answer` of its text; a body that is cut off
  // or too large is answered 400 with `malformed`.
  Started TakeForm(const Request& request, std::string_view malformed,
                   std::function<Response(const std::string& text)> answer);
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
  Clock& clock_;
  EventLog& log_;
};

// The state folder under a root (events log, attributes), created when missing.
std::optional<std::filesystem::path> PrepareStateFolder(const std::filesystem::path& root);

}  // namespace azu::emulator
