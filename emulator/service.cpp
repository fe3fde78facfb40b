#include "emulator/service.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "emulator/form.h"

namespace azu::emulator {
namespace {

constexpr std::string_view kSessionPath = "/v1/session";
constexpr std::string_view kFilePath = "/v1/file";
constexpr std::string_view kAttributePath = "/v1/attribute";
constexpr std::string_view kRebootPath = "/v1/server/reboot";
constexpr std::string_view kRestartPath = "/v1/server/restart";
constexpr std::string_view kBearer = "Bearer ";
constexpr std::size_t kTokenSize = 32;
constexpr std::size_t kVersionSize = 64;

bool IsLowerHex(std::string_view text) {
  for (const char c : text) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

// A request answered from its head alone.
Started Answered(Response response) {
  return {std::move(response), {}, {}};
}

Response Status(int status) {
  Response response;
  response.status = status;
  return response;
}

// What the server does for a method on a path.
struct RouteEntry {
  std::string_view method;
  std::string_view path;
  Service::Route route;
};
constexpr RouteEntry kRoutes[] = {
    {"POST", kSessionPath, Service::Route::kLogin},
    {"DELETE", kSessionPath, Service::Route::kLogout},
    {"GET", kFilePath, Service::Route::kGetFile},
    {"PUT", kFilePath, Service::Route::kPutFile},
    {"DELETE", kFilePath, Service::Route::kDeleteFile},
    {"POST", kAttributePath, Service::Route::kAttribute},
    {"GET", kAttributePath, Service::Route::kReadAttribute},
    {"POST", kRebootPath, Service::Route::kReboot},
    {"POST", kRestartPath, Service::Route::kRestart},
};

// Reads the rest of a body nobody needs, so the connection can carry the next request.
bool Drain(const BodyReader& read_body) {
  std::size_t size = 0;
  return read_body([&size](std::string_view piece) {
    size += piece.size();
    return size <= FileStore::kMaxFileSize;
  });
}

// The one value of `name` in the query; nullopt when absent or given twice.
std::optional<std::string> OneQueryValue(const Request& request, std::string_view name) {
  std::optional<std::string> value;
  for (const auto& [key, text] : request.query) {
    if (key != name) continue;
    if (value) return std::nullopt;
    value = text;
  }
  return value;
}

}  // namespace

std::optional<Service::Route> Service::RouteOf(const Request& request) {
  bool known_path = false;
  for (const RouteEntry& entry : kRoutes) {
    if (entry.path != request.path) continue;
    known_path = true;
    if (entry.method == request.method) return entry.route;
  }
  return known_path ? std::optional(Route::kWrongMethod) : std::nullopt;
}

std::optional<std::filesystem::path> PrepareStateFolder(const std::filesystem::path& root) {
  std::error_code error;
  std::filesystem::create_directories(root, error);
  if (error || !std::filesystem::is_directory(root, error)) return std::nullopt;
  const std::filesystem::path state = root / std::string(FileStore::kStateFolder);
  if (::mkdir(state.c_str(), 0755) != 0 && errno != EEXIST) return std::nullopt;
  if (!std::filesystem::is_directory(std::filesystem::symlink_status(state, error))) {
    return std::nullopt;
  }
  return state;
}

std::unique_ptr<Service> Service::Create(const ServiceSettings& settings, Clock& clock,
                                         EventLog& log, std::string& error) {
  const std::optional<std::filesystem::path> state = PrepareStateFolder(settings.root);
  std::unique_ptr<FileStore> files = state ? FileStore::Open(settings.root) : nullptr;
  if (!files) {
    error = "cannot use " + settings.root.string() + " as the server's root folder";
    return nullptr;
  }
  return std::unique_ptr<Service>(new Service(std::move(files), settings, clock, log));
}

Service::Service(std::unique_ptr<FileStore> files, const ServiceSettings& settings, Clock& clock,
                 EventLog& log)
    : files_(std::move(files)),
      attributes_(settings.root / std::string(FileStore::kStateFolder) / "attributes"),
      sessions_(clock, settings.session_idle, kMostSessions, settings.session_lifetime),
      login_guard_(kUser, settings.password, clock),
      clock_(clock),
      log_(log) {}

Started Service::Start(const Request& request) {
  if (request.content_length && *request.content_length > FileStore::kMaxFileSize) {
    Response response = Refuse(request, 413, "too-large");
    response.close_connection = true;
    return Answered(std::move(response));
  }
  Started started = Dispatch(request);
  // An answer that leaves a body unread ends the connection, unless the transport drains it.
  if (started.answer && request.content_length.value_or(0) > 0) {
    started.answer->close_connection = true;
  }
  return started;
}

Response Service::Handle(const Request& request) {
  Started started = Start(request);
  Response response;
  if (started.answer) {
    response = std::move(*started.answer);
    // Reads the rest of a body nobody needs, so the connection can carry the next request; one
    // announced too large is not read at all.
    const bool oversized =
        request.content_length && *request.content_length > FileStore::kMaxFileSize;
    if (request.read_body && !oversized) response.close_connection = !Drain(request.read_body);
  } else {
    const bool whole = !request.read_body || request.read_body(started.take);
    response = started.finish(whole);
  }
  if (response.not_before > clock_.Now()) clock_.SleepUntil(response.not_before);
  if (response.file) {
    // Whoever takes whole answers gets the file's bytes in the body.
    response.body.resize(response.file_size);
    std::size_t filled = 0;
    while (filled < response.body.size()) {
      const ssize_t got = ::pread(response.file->Fd(), response.body.data() + filled,
                                  response.body.size() - filled, static_cast<off_t>(filled));
      if (got <= 0) break;
      filled += static_cast<std::size_t>(got);
    }
    response.body.resize(filled);
    response.file.reset();
  }
  return response;
}

Started Service::Dispatch(const Request& request) {
  const std::optional<Route> route = RouteOf(request);
  if (!route) return Answered(Refuse(request, 404, "unknown-request"));
  if (*route == Route::kWrongMethod) return Answered(Refuse(request, 405, "unknown-request"));
  if (*route == Route::kLogin) {
    return TakeForm(request, "malformed-login",
                    [this, request](const std::string& text) { return Login(request, text); });
  }
  Response refusal;
  const std::optional<Caller> caller = Authorize(request, refusal);
  if (!caller) return Answered(std::move(refusal));
  switch (*route) {
    case Route::kLogout:
      return Answered(Logout(request, *caller));
    case Route::kAttribute:
      return TakeForm(request, "malformed-attribute", [this, request](const std::string& text) {
        return SetAttribute(request, text);
      });
    case Route::kReadAttribute: {
      const std::optional<std::string> name = OneQueryValue(request, "name");
      if (!name) return Answered(Refuse(request, 400, "malformed-attribute"));
      return Answered(ReadAttribute(request, *name));
    }
    case Route::kReboot:
      return Answered(EndSessions(request, "reboot"));
    case Route::kRestart:
      return Answered(EndSessions(request, "restart"));
    default:
      break;
  }
  const std::optional<std::string> path = OneQueryValue(request, "path");
  if (!path) return Answered(Refuse(request, 400, "no-path"));
  if (*route == Route::kGetFile) return Answered(GetFile(request, *path));
  if (*route == Route::kPutFile) return PutFile(request, *path);
  return Answered(DeleteFile(request, *path));
}

Started Service::TakeForm(const Request& request, std::string_view malformed,
                          std::function<Response(const std::string& text)> answer) {
  auto text = std::make_shared<std::string>();
  auto too_large = std::make_shared<bool>(false);
  Started started;
  started.take = [text, too_large](std::string_view piece) {
    *too_large = piece.size() > kMaxFormSize - text->size();
    if (!*too_large) text->append(piece);
    return !*too_large;
  };
  started.finish = [this, request, malformed, text, too_large,
                    answer = std::move(answer)](bool whole) {
    if (whole && !*too_large) return answer(*text);
    Response response = Refuse(request, 400, malformed);
    response.close_connection = true;
    return response;
  };
  return started;
}

Response Service::Refuse(const Request& request, int status, std::string_view reason,
                         std::string_view path) {
  if (path.empty()) {
    log_.Record("refused", {{"client", request.client},
                            {"request", request.method + " " + request.path},
                            {"reason", reason}});
  } else {
    log_.Record("refused", {{"client", request.client},
                            {"request", request.method + " " + request.path},
                            {"reason", reason},
                            {"path", path}});
  }
  return Status(status);
}

std::optional<Service::Caller> Service::Authorize(const Request& request, Response& refusal) {
  const std::string_view header =
      request.authorization ? std::string_view(*request.authorization) : std::string_view();
  const std::string_view token =
      header.starts_with(kBearer) ? header.substr(kBearer.size()) : std::string_view();
  if (token.size() != kTokenSize || !IsLowerHex(token)) {
    refusal = Refuse(request, 401, "no-session");
    return std::nullopt;
  }
  const SessionTable::Lookup lookup = sessions_.Use(token);
  if (lookup.state == SessionTable::State::kValid) return Caller{lookup.number};
  if (lookup.state == SessionTable::State::kExpired) {
    log_.Record("disconnect", {{"session", std::to_string(lookup.number)}, {"reason", "idle"}});
  }
  refusal = Refuse(request, 401, "no-session");
  return std::nullopt;
}

void Service::ExpireIdleSessions() {
  for (const std::uint64_t number : sessions_.ExpireIdle()) {
    log_.Record("disconnect", {{"session", std::to_string(number)}, {"reason", "idle"}});
  }
}

Response Service::Login(const Request& request, const std::string& form_text) {
  const std::optional<std::map<std::string, std::string>> form = ParseForm(form_text);
  if (!form) return Refuse(request, 400, "malformed-login");
  const auto user = form->find("user");
  const auto password = form->find("password");
  if (user == form->end() || password == form->end()) {
    return Refuse(request, 400, "malformed-login");
  }

  const LoginGuard::Verdict verdict =
      login_guard_.Attempt(request.client, user->second, password->second);
  if (verdict.outcome != LoginGuard::Outcome::kAccepted) {
    log_.Record(
        "auth-failure",
        {{"client", request.client},
         {"user", user->second},
         {"reason", verdict.outcome == LoginGuard::Outcome::kBusy ? "busy" : "wrong-password"}});
    Response response = Status(401);
    response.not_before = verdict.answer_at;
    return response;
  }
  ExpireIdleSessions();
  std::optional<SessionTable::Opened> opened = sessions_.Open();
  if (!opened) return Refuse(request, 503, "sessions-full");
  log_.Record("connect", {{"client", request.client}, {"session", std::to_string(opened->number)}});
  Response response = Status(200);
  response.body = std::move(opened->token);
  response.content_type = "text/plain";
  // A right password behind delayed failures of its address waits its turn too.
  response.not_before = verdict.answer_at;
  return response;
}

Response Service::Logout(const Request& request, const Caller& caller) {
  const std::string_view header = *request.authorization;
  if (!sessions_.Close(header.substr(kBearer.size()))) return Status(401);
  log_.Record("disconnect", {{"client", request.client},
                             {"session", std::to_string(caller.session)},
                             {"reason", "logout"}});
  return Status(204);
}

Response Service::GetFile(const Request& request, const std::string& path) {
  FileStore::Content content = files_->Read(path);
  switch (content.status) {
    case FileStore::Status::kOk:
      break;
    case FileStore::Status::kRefused:
      return Refuse(request, 403, "path", path);
    case FileStore::Status::kNotFound:
      return Status(404);
    case FileStore::Status::kTooLarge:
      return Refuse(request, 413, "too-large", path);
    default:
      log_.Record("error", {{"client", request.client}, {"request", "get"}, {"path", path}});
      return Status(500);
  }
  log_.Record("get",
              {{"client", request.client},
               {"path", path},
               {"size", std::to_string(content.file ? content.size : content.bytes.size())}});
  Response response = Status(200);
  response.body = std::move(content.bytes);
  response.file = std::move(content.file);
  response.file_size = content.size;
  response.content_type = "application/octet-stream";
  response.etag = "\"" + content.version + "\"";
  return response;
}

Started Service::PutFile(const Request& request, const std::string& path) {
  std::optional<std::string> expected;
  if (request.if_match) {
    const std::string& tag = *request.if_match;
    if (tag.size() != kVersionSize + 2 || tag.front() != '"' || tag.back() != '"' ||
        !IsLowerHex(std::string_view(tag).substr(1, kVersionSize))) {
      return Answered(Refuse(request, 400, "malformed-if-match", path));
    }
    expected = tag.substr(1, kVersionSize);
  }
  FileStore::Started begun = files_->BeginStore(path);
  if (begun.status == FileStore::Status::kRefused) {
    return Answered(Refuse(request, 403, "path", path));
  }
  if (!begun.upload) {
    log_.Record("error", {{"client", request.client}, {"request", "put"}, {"path", path}});
    return Answered(Status(500));
  }
  // Shared by both steps; the temporary file goes with the last of them when nothing is stored.
  std::shared_ptr<FileStore::Upload> upload = std::move(begun.upload);
  auto disk_failed = std::make_shared<bool>(false);
  Started started;
  started.take = [upload, disk_failed](std::string_view piece) {
    if (upload->Write(piece)) return true;
    *disk_failed = !upload->TooLarge();
    return false;
  };
  started.finish = [this, request, path, expected, upload, disk_failed](bool whole) {
    if (upload->TooLarge()) {
      Response response = Refuse(request, 413, "too-large", path);
      response.close_connection = true;
      return response;
    }
    if (!whole && !*disk_failed) {
      // The old file stays; the temporary one goes with `upload`.
      Response response = Refuse(request, 400, "transfer-cut", path);
      response.close_connection = true;
      return response;
    }
    const FileStore::Stored stored = *disk_failed
                                         ? FileStore::Stored{FileStore::Status::kFailed, {}}
                                         : files_->FinishStore(*upload, expected);
    switch (stored.status) {
      case FileStore::Status::kOk:
        break;
      case FileStore::Status::kConflict:
        return Refuse(request, 412, "conflict", path);
      default: {
        log_.Record("error", {{"client", request.client}, {"request", "put"}, {"path", path}});
        Response response = Status(500);
        response.close_connection = *disk_failed;
        return response;
      }
    }
    log_.Record(
        "put",
        {{"client", request.client}, {"path", path}, {"size", std::to_string(upload->Size())}});
    Response response = Status(204);
    response.etag = "\"" + stored.version + "\"";
    return response;
  };
  return started;
}

Response Service::DeleteFile(const Request& request, const std::string& path) {
  switch (files_->Remove(path)) {
    case FileStore::Status::kOk:
      log_.Record("delete", {{"client", request.client}, {"path", path}});
      return Status(204);
    case FileStore::Status::kRefused:
      return Refuse(request, 403, "path", path);
    case FileStore::Status::kNotFound:
      return Status(404);
    default:
      log_.Record("error", {{"client", request.client}, {"request", "delete"}, {"path", path}});
      return Status(500);
  }
}

Response Service::SetAttribute(const Request& request, const std::string& form_text) {
  const std::optional<std::map<std::string, std::string>> form = ParseForm(form_text);
  if (!form || !form->contains("name") || !form->contains("value")) {
    return Refuse(request, 400, "malformed-attribute");
  }
  const auto name = form->find("name");
  const auto value = form->find("value");
  switch (attributes_.Set(name->second, value->second)) {
    case AttributeStore::Status::kOk:
      log_.Record("attribute",
                  {{"client", request.client}, {"name", name->second}, {"value", value->second}});
      return Status(204);
    case AttributeStore::Status::kRefused:
      return Refuse(request, 400, "malformed-attribute");
    default:
      log_.Record("error", {{"client", request.client}, {"request", "attribute"}});
      return Status(500);
  }
}

Response Service::ReadAttribute(const Request& request, const std::string& name) {
  if (!AttributeStore::IsValidName(name)) return Refuse(request, 400, "malformed-attribute");
  const std::map<std::string, std::string> values = attributes_.Values();
  const auto value = values.find(name);
  if (value == values.end()) return Status(404);
  Response response = Status(200);
  response.body = value->second;
  response.content_type = "text/plain; charset=utf-8";
  return response;
}

Response Service::EndSessions(const Request& request, std::string_view event) {
  // As on a real server going down, nobody stays logged in, the asker included.
  const std::vector<std::uint64_t> ended = sessions_.CloseAll();
  log_.Record(event, {{"client", request.client}, {"sessions", std::to_string(ended.size())}});
  return Status(204);
}

}  // namespace azu::emulator
