#include "emulator/http_server.h"

#include <arpa/inet.h>
#include <microhttpd.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <charconv>
#include <condition_variable>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "platform/ascii_case.h"

namespace azu::emulator {
namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr int kListenBacklog = 128;
// TLS 1.3, and 1.2 for older clients with forward secrecy and AEAD suites only (AES-GCM,
// ChaCha20-Poly1305): no CBC, no SHA-1 MAC; nothing older.
constexpr const char* kTlsPriorities =
    "NORMAL:-VERS-ALL:+VERS-TLS1.3:+VERS-TLS1.2:-CIPHER-ALL:+AES-256-GCM:+AES-128-GCM:"
    "+CHACHA20-POLY1305:-MAC-ALL:+AEAD:-KX-ALL:+ECDHE-ECDSA:+ECDHE-RSA";
constexpr std::chrono::milliseconds kSweepEvery{500};
// A file answer is read from the disk in pieces this large.
constexpr std::size_t kFileBlock = std::size_t{256} * 1024;
// The most of an unwanted body read and dropped so that its sender gets to read the refusal.
constexpr std::uint64_t kMostDropped = std::uint64_t{32} * 1024 * 1024;

// One open connection, for the deadlines MHD's idle timeout does not give.
struct Tracked {
  int fd;
  SteadyClock::time_point deadline;
};

// One request in progress.
struct Call {
  Started started;
  bool taking = true;  // false once the service wants no more of the body
  std::optional<Response> ready;
  bool delayed = false;
};

struct HeadValues {
  std::size_t authorizations = 0;
  std::size_t if_matches = 0;
  std::string authorization;
  std::string if_match;
  std::string content_length;
};

MHD_Result CollectHeader(void* cls, MHD_ValueKind /*kind*/, const char* key, const char* value) {
  auto& head = *static_cast<HeadValues*>(cls);
  const std::string_view text = value == nullptr ? "" : value;
  if (platform::EqualsIgnoringAsciiCase(key, "Authorization")) {
    ++head.authorizations;
    head.authorization = text;
  } else if (platform::EqualsIgnoringAsciiCase(key, "If-Match")) {
    ++head.if_matches;
    head.if_match = text;
  } else if (platform::EqualsIgnoringAsciiCase(key, "Content-Length")) {
    head.content_length = text;
  }
  return MHD_YES;
}

MHD_Result CollectArgument(void* cls, MHD_ValueKind /*kind*/, const char* key, const char* value) {
  static_cast<std::vector<std::pair<std::string, std::string>>*>(cls)->emplace_back(
      key, value == nullptr ? "" : value);
  return MHD_YES;
}

// nullopt when absent; a header given twice arrives as "" and is refused.
std::optional<std::string> OneHeader(std::size_t count, std::string text) {
  if (count == 0) return std::nullopt;
  if (count > 1) return std::string();
  return text;
}

std::string ClientAddress(MHD_Connection* connection) {
  const MHD_ConnectionInfo* info =
      MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
  if (info == nullptr || info->client_addr == nullptr || info->client_addr->sa_family != AF_INET) {
    return "?";
  }
  sockaddr_in address{};
  std::memcpy(&address, info->client_addr, sizeof address);
  char text[INET_ADDRSTRLEN] = {};
  ::inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
  return text;
}

Request HeadOf(MHD_Connection* connection, const char* url, const char* method) {
  Request request;
  request.method = method;
  request.path = url;
  MHD_get_connection_values(connection, MHD_GET_ARGUMENT_KIND, &CollectArgument, &request.query);
  HeadValues head;
  MHD_get_connection_values(connection, MHD_HEADER_KIND, &CollectHeader, &head);
  request.authorization = OneHeader(head.authorizations, std::move(head.authorization));
  request.if_match = OneHeader(head.if_matches, std::move(head.if_match));
  request.client = ClientAddress(connection);
  const std::string& length = head.content_length;
  std::uint64_t announced = 0;
  const auto [end, error] =
      std::from_chars(length.data(), length.data() + length.size(), announced);
  if (!length.empty() && error == std::errc() && end == length.data() + length.size()) {
    request.content_length = announced;
  }
  return request;
}

Tracked* TrackedOf(MHD_Connection* connection) {
  const MHD_ConnectionInfo* info =
      MHD_get_connection_info(connection, MHD_CONNECTION_INFO_SOCKET_CONTEXT);
  return info == nullptr ? nullptr : static_cast<Tracked*>(info->socket_context);
}

}  // namespace

class HttpServer::Server {
 public:
  Server(Service& service, EventLog& log, TlsIdentity identity, ServerLimits limits)
      : service_(service), log_(log), identity_(std::move(identity)), limits_(limits) {}

  ~Server() {
    if (listen_fd_ >= 0 && daemon_ == nullptr) ::close(listen_fd_);
  }

  bool Bind(const std::string& address, std::uint16_t port) {
    sockaddr_in socket_address{};
    socket_address.sin_family = AF_INET;
    socket_address.sin_port = htons(port);
    if (port == 0 || ::inet_pton(AF_INET, address.c_str(), &socket_address.sin_addr) != 1) {
      return false;
    }
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    // Only SO_REUSEADDR: a second emulator must never share the port (SO_REUSEPORT would let it).
    const int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&socket_address), sizeof socket_address) !=
            0 ||
        ::listen(fd, kListenBacklog) != 0) {
      ::close(fd);
      return false;
    }
    listen_fd_ = fd;
    return true;
  }

  bool Run() {
    if (listen_fd_ < 0) return false;
    const unsigned flags =
        MHD_USE_POLL_INTERNAL_THREAD | MHD_USE_TLS | MHD_ALLOW_SUSPEND_RESUME | MHD_USE_TURBO;
    daemon_ = MHD_start_daemon(
        flags, 0, nullptr, nullptr, &Server::OnRequest, this, MHD_OPTION_LISTEN_SOCKET, listen_fd_,
        MHD_OPTION_HTTPS_MEM_KEY, identity_.key_pem.c_str(), MHD_OPTION_HTTPS_MEM_CERT,
        identity_.certificate_pem.c_str(), MHD_OPTION_HTTPS_PRIORITIES, kTlsPriorities,
        MHD_OPTION_THREAD_POOL_SIZE, limits_.threads, MHD_OPTION_CONNECTION_LIMIT, limits_.total,
        MHD_OPTION_PER_IP_CONNECTION_LIMIT, limits_.per_address, MHD_OPTION_CONNECTION_TIMEOUT,
        static_cast<unsigned>(limits_.idle.count()), MHD_OPTION_CONNECTION_MEMORY_LIMIT,
        limits_.connection_memory, MHD_OPTION_NOTIFY_COMPLETED, &Server::OnCompleted, this,
        MHD_OPTION_NOTIFY_CONNECTION, &Server::OnConnection, this, MHD_OPTION_END);
    if (daemon_ == nullptr) return false;
    std::thread timer([this] { KeepTime(); });
    running_ = true;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [this] { return stopping_; });
    }
    timer.join();
    MHD_stop_daemon(daemon_);
    running_ = false;
    return true;
  }

  [[nodiscard]] bool IsRunning() const { return running_; }

  void Stop() {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
    changed_.notify_all();
  }

 private:
  static MHD_Result OnRequest(void* cls, MHD_Connection* connection, const char* url,
                              const char* method, const char* /*version*/, const char* upload_data,
                              std::size_t* upload_data_size, void** request_context) {
    return static_cast<Server*>(cls)->Serve(connection, url, method, upload_data, upload_data_size,
                                            request_context);
  }

  MHD_Result Serve(MHD_Connection* connection, const char* url, const char* method,
                   const char* upload_data, std::size_t* upload_data_size, void** request_context) {
    auto* call = static_cast<Call*>(*request_context);
    if (call == nullptr) {
      SetDeadline(connection, limits_.request_deadline);
      call = new Call;
      *request_context = call;
      const Request head = HeadOf(connection, url, method);
      call->started = service_.Start(head);
      if (!call->started.answer) return MHD_YES;
      call->ready = std::move(call->started.answer);
      call->taking = false;
      // Queued at the next call, after the body: queued now, the answer would end the
      // connection, and a client still sending its body would not read it. A body is dropped
      // as it comes, up to a bound.
      if (head.content_length.value_or(0) <= kMostDropped) return MHD_YES;
      return Answer(connection, *call);
    }
    if (*upload_data_size > 0) {
      // Once the service has what it needs, the rest is dropped as it comes.
      if (call->taking) {
        call->taking = call->started.take(std::string_view(upload_data, *upload_data_size));
      }
      *upload_data_size = 0;
      return MHD_YES;
    }
    if (!call->ready) call->ready = call->started.finish(call->taking);
    return Answer(connection, *call);
  }

  MHD_Result Answer(MHD_Connection* connection, Call& call) {
    Response& answer = *call.ready;
    if (!call.delayed && answer.not_before > SteadyClock::now()) {
      // Held without a thread; the timer resumes it and MHD asks for the answer again.
      call.delayed = true;
      MHD_suspend_connection(connection);
      const std::lock_guard lock(mutex_);
      resumes_.emplace(answer.not_before, connection);
      changed_.notify_all();
      return MHD_YES;
    }
    MHD_Response* response = nullptr;
    if (answer.file) {
      // Read from the disk as it is sent, in large pieces: a file never sits whole in memory.
      auto* file = new std::shared_ptr<OpenFile>(std::move(answer.file));
      response = MHD_create_response_from_callback(
          answer.file_size, kFileBlock, &Server::ReadFile, file,
          [](void* open) { delete static_cast<std::shared_ptr<OpenFile>*>(open); });
      if (response == nullptr) delete file;
    } else {
      // The body is handed over, not copied.
      auto* body = new std::string(std::move(answer.body));
      response = MHD_create_response_from_buffer_with_free_callback_cls(
          body->size(), body->data(), [](void* text) { delete static_cast<std::string*>(text); },
          body);
      if (response == nullptr) delete body;
    }
    if (response == nullptr) return MHD_NO;
    if (!answer.content_type.empty()) {
      MHD_add_response_header(response, "Content-Type", answer.content_type.c_str());
    }
    if (!answer.etag.empty()) MHD_add_response_header(response, "ETag", answer.etag.c_str());
    if (answer.close_connection) MHD_add_response_header(response, "Connection", "close");
    const MHD_Result queued =
        MHD_queue_response(connection, static_cast<unsigned>(answer.status), response);
    MHD_destroy_response(response);
    return queued;
  }

  static ssize_t ReadFile(void* open, std::uint64_t position, char* buffer, std::size_t size) {
    const auto& file = *static_cast<std::shared_ptr<OpenFile>*>(open);
    const ssize_t got = ::pread(file->Fd(), buffer, size, static_cast<off_t>(position));
    // A file cut short under it: the answer cannot be whole, so the connection ends.
    return got > 0 ? got : MHD_CONTENT_READER_END_WITH_ERROR;
  }

  static void OnCompleted(void* cls, MHD_Connection* connection, void** request_context,
                          MHD_RequestTerminationCode /*how*/) {
    // A body cut off: the service says so in its log and drops what it had. An unfinished store
    // goes with its call: the temporary file is removed, the old one stays.
    auto* call = static_cast<Call*>(*request_context);
    if (call != nullptr && !call->ready && call->started.finish) {
      static_cast<void>(call->started.finish(false));
    }
    delete call;
    *request_context = nullptr;
    auto& server = *static_cast<Server*>(cls);
    server.SetDeadline(connection, server.limits_.head_deadline);
  }

  static void OnConnection(void* cls, MHD_Connection* connection, void** socket_context,
                           MHD_ConnectionNotificationCode code) {
    auto& server = *static_cast<Server*>(cls);
    const std::lock_guard lock(server.mutex_);
    if (code == MHD_CONNECTION_NOTIFY_STARTED) {
      const MHD_ConnectionInfo* info =
          MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
      auto* tracked = new Tracked{info == nullptr ? -1 : info->connect_fd,
                                  SteadyClock::now() + server.limits_.head_deadline};
      server.tracked_.insert(tracked);
      *socket_context = tracked;
    } else {
      // Called before MHD closes the socket, so the sweeper never shuts a reused number.
      auto* tracked = static_cast<Tracked*>(*socket_context);
      server.tracked_.erase(tracked);
      delete tracked;
      *socket_context = nullptr;
    }
  }

  void SetDeadline(MHD_Connection* connection, std::chrono::seconds from_now) {
    const std::lock_guard lock(mutex_);
    Tracked* tracked = TrackedOf(connection);
    if (tracked != nullptr) tracked->deadline = SteadyClock::now() + from_now;
  }

  // Resumes delayed answers when due, and cuts connections past their deadline.
  void KeepTime() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
      const SteadyClock::time_point now = SteadyClock::now();
      while (!resumes_.empty() && resumes_.begin()->first <= now) {
        MHD_resume_connection(resumes_.begin()->second);
        resumes_.erase(resumes_.begin());
      }
      std::size_t cut = 0;
      for (Tracked* tracked : tracked_) {
        if (tracked->deadline > now || tracked->fd < 0) continue;
        // MHD sees the end and closes the connection in its own thread.
        ::shutdown(tracked->fd, SHUT_RDWR);
        tracked->deadline = SteadyClock::time_point::max();
        ++cut;
      }
      // One line per sweep, however many: a crowd of silent connections must not flood the log.
      if (cut > 0)
        log_.Record("refused", {{"reason", "deadline"}, {"connections", std::to_string(cut)}});
      SteadyClock::time_point wake = now + kSweepEvery;
      if (!resumes_.empty()) wake = std::min(wake, resumes_.begin()->first);
      changed_.wait_until(lock, wake);
    }
    // MHD closes suspended connections only once they are resumed.
    for (const auto& [due, connection] : resumes_) MHD_resume_connection(connection);
    resumes_.clear();
  }

  Service& service_;
  EventLog& log_;
  const TlsIdentity identity_;
  const ServerLimits limits_;
  int listen_fd_ = -1;
  MHD_Daemon* daemon_ = nullptr;
  std::atomic<bool> running_ = false;

  std::mutex mutex_;
  std::condition_variable changed_;
  bool stopping_ = false;
  std::set<Tracked*> tracked_;
  std::multimap<SteadyClock::time_point, MHD_Connection*> resumes_;
};

HttpServer::HttpServer(Service& service, EventLog& log, const StopSignal& stop,
                       const TlsIdentity& identity, ServerLimits limits)
    : server_(std::make_unique<Server>(service, log, identity, limits)) {
  // Stop() comes from the one who triggers the signal; the timer thread waits on its own.
  static_cast<void>(stop);
}

HttpServer::~HttpServer() = default;

bool HttpServer::Bind(const std::string& address, std::uint16_t port) {
  return server_->Bind(address, port);
}

bool HttpServer::Run() {
  return server_->Run();
}

bool HttpServer::IsRunning() const {
  return server_->IsRunning();
}

void HttpServer::Stop() {
  server_->Stop();
}

}  // namespace azu::emulator
