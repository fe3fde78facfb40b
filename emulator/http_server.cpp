#include "emulator/http_server.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <charconv>

namespace azu::emulator {
namespace {

constexpr int kListenBacklog = 128;
constexpr std::size_t kMostRequestsPerConnection = 100;

// What the handlers tell the connection loop about the request in progress on this thread.
struct Exchange {
  bool answered_by_service = false;
  bool close_after = false;
};
thread_local Exchange* t_exchange = nullptr;

std::optional<std::string> OneHeader(const httplib::Request& request, const char* name) {
  const std::size_t count = request.get_header_value_count(name);
  if (count == 0) return std::nullopt;
  if (count > 1) return std::string();
  return request.get_header_value(name);
}

}  // namespace

// httplib's server with its connection loop replaced by one over DeadlineStream.
class HttpServer::Server final : public httplib::Server {
 public:
  Server(Service& service, EventLog& log, const StopSignal& stop, ConnectionLimits limits)
      : service_(service), log_(log), stop_(stop), limits_(limits) {
    new_task_queue = [] { return new httplib::ThreadPool(kThreads); };
    set_payload_max_length(FileStore::kMaxFileSize);
    set_keep_alive_max_count(kMostRequestsPerConnection);
    set_address_family(AF_INET);
    // Only SO_REUSEADDR: a second emulator must never share the port (SO_REUSEPORT would let it).
    set_socket_options([](socket_t sock) {
      const int yes = 1;
      ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
      Serve(request, response, nullptr);
    });
    const auto with_body = [this](const httplib::Request& request, httplib::Response& response,
                                  const httplib::ContentReader& reader) {
      Serve(request, response, &reader);
    };
    Put(".*", with_body);
    Post(".*", with_body);
    Delete(".*", with_body);
    // A request with neither length nor chunks has no body; httplib would wait for one until the
    // read timeout, so such requests are answered before it tries.
    set_pre_routing_handler([this](const httplib::Request& request, httplib::Response& response) {
      if (request.method == "GET" || request.has_header("Content-Length") ||
          request.has_header("Transfer-Encoding")) {
        return HandlerResponse::Unhandled;
      }
      Serve(request, response, nullptr);
      return HandlerResponse::Handled;
    });
    set_logger([this](const httplib::Request& request, const httplib::Response& response) {
      if (t_exchange == nullptr || t_exchange->answered_by_service) return;
      // httplib refused the request itself (malformed, too long); its body may be unread.
      t_exchange->close_after = true;
      log_.Record("refused", {{"client", request.remote_addr},
                              {"reason", "http-" + std::to_string(response.status)}});
    });
  }

  bool BindListener(const std::string& address, std::uint16_t port) {
    if (!bind_to_port(address, port)) return false;
    // httplib listens with a backlog of 5; many administrators connecting at once need more.
    ::listen(svr_sock_, kListenBacklog);
    return true;
  }

 private:
  void Serve(const httplib::Request& http, httplib::Response& answer,
             const httplib::ContentReader* reader) {
    Request request;
    request.method = http.method;
    request.path = http.path;
    request.query.assign(http.params.begin(), http.params.end());
    request.authorization = OneHeader(http, "Authorization");
    request.if_match = OneHeader(http, "If-Match");
    request.client = http.remote_addr;
    const std::string length = http.get_header_value("Content-Length");
    std::uint64_t announced = 0;
    const auto [end, error] =
        std::from_chars(length.data(), length.data() + length.size(), announced);
    if (!length.empty() && error == std::errc() && end == length.data() + length.size()) {
      request.content_length = announced;
    }
    if (reader != nullptr) {
      request.read_body = [reader](const BodySink& sink) {
        return (*reader)([&sink](const char* data, std::size_t size) {
          return sink(std::string_view(data, size));
        });
      };
    } else if (!http.body.empty()) {
      request.read_body = [&http](const BodySink& sink) { return sink(http.body); };
    }
    Response response = service_.Handle(request);
    // httplib leaves the body of a GET unread; the connection cannot go on after one.
    if (reader == nullptr && http.body.empty() && request.content_length.value_or(0) > 0) {
      response.close_connection = true;
    }
    answer.status = response.status;
    if (!response.content_type.empty()) {
      // Moved, not copied (set_content would copy): a file may be 16 MiB.
      answer.body = std::move(response.body);
      answer.set_header("Content-Type", response.content_type);
    }
    if (!response.etag.empty()) answer.set_header("ETag", response.etag);
    if (t_exchange != nullptr) {
      t_exchange->answered_by_service = true;
      t_exchange->close_after = response.close_connection;
    }
    if (response.close_connection) answer.set_header("Connection", "close");
  }

  // Replaces httplib's loop: the same keep-alive handling, but every wait is bounded by the
  // request deadline and ends at once when the server stops.
  bool process_and_close_socket(socket_t sock) override {
    // An answer's head and body go out in separate writes; they must not wait for the client's ack.
    const int yes = 1;
    ::setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    Exchange exchange;
    t_exchange = &exchange;
    DeadlineStream stream(sock, stop_.Fd(), limits_);
    bool ok = true;
    bool linger = false;
    for (std::size_t left = kMostRequestsPerConnection; left > 0 && !stop_.Triggered(); --left) {
      if (!stream.WaitForRequest()) break;
      stream.StartRequest();
      exchange = {};
      bool closed = false;
      ok = process_request(stream, left == 1, closed, [](httplib::Request&) {});
      linger = !ok || exchange.close_after;
      if (!ok || closed || exchange.close_after) break;
    }
    t_exchange = nullptr;
    if (linger && !stop_.Triggered()) stream.Linger();
    ::shutdown(sock, SHUT_RDWR);
    ::close(sock);
    return ok;
  }

  Service& service_;
  EventLog& log_;
  const StopSignal& stop_;
  const ConnectionLimits limits_;
};

HttpServer::HttpServer(Service& service, EventLog& log, const StopSignal& stop,
                       ConnectionLimits limits)
    : server_(std::make_unique<Server>(service, log, stop, limits)) {}

HttpServer::~HttpServer() = default;

bool HttpServer::Bind(const std::string& address, std::uint16_t port) {
  return port != 0 && server_->BindListener(address, port);
}

bool HttpServer::Run() {
  return server_->listen_after_bind();
}

bool HttpServer::IsRunning() const {
  return server_->is_running();
}

void HttpServer::Stop() {
  server_->stop();
}

}  // namespace azu::emulator
