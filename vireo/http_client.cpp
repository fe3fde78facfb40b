#include "vireo/http_client.h"

#include <httplib.h>

#include "vireo/protocol.h"

namespace azu::vireo {
namespace {

Transport TransportOf(httplib::Error error, bool too_large) {
  switch (error) {
    case httplib::Error::Success:
      return Transport::kAnswered;
    case httplib::Error::Connection:
    case httplib::Error::ConnectionTimeout:
      return Transport::kUnreachable;
    case httplib::Error::Canceled:
      return too_large ? Transport::kTooLarge : Transport::kBroken;
    default:
      return Transport::kBroken;
  }
}

}  // namespace

HttpClient::HttpClient(const ServerAddress& server)
    : client_(std::make_unique<httplib::Client>(server.host, server.port)) {
  client_->set_connection_timeout(kConnectTimeout);
  client_->set_read_timeout(kReadTimeout);
  client_->set_write_timeout(kWriteTimeout);
  // Targets arrive encoded; a second pass would mangle '%'.
  client_->set_url_encode(false);
  // One TCP connection carries the requests of a connection handle.
  client_->set_keep_alive(true);
  client_->set_tcp_nodelay(true);  // small requests must not wait for the last answer's ack
}

HttpClient::~HttpClient() = default;

HttpAnswer HttpClient::Send(const HttpRequest& request) {
  HttpAnswer answer;
  bool too_large = false;

  httplib::Request http;
  http.method = std::string(request.method);
  http.path = request.target;
  if (!request.bearer.empty()) {
    http.set_header("Authorization", "Bearer " + request.bearer);
  }
  if (!request.if_match.empty()) {
    http.set_header("If-Match", request.if_match);
  }
  if (!request.content_type.empty()) {
    http.set_header("Content-Type", std::string(request.content_type));
  }
  http.body = request.body;
  // Collects the body ourselves so that a runaway answer cannot exhaust memory.
  http.content_receiver = [&answer, &too_large](const char* data, std::size_t size,
                                                std::uint64_t offset, std::uint64_t total) {
    if (offset == 0 && total > 0 && total <= kMaxTransferBytes) answer.body.reserve(total);
    if (answer.body.size() + size > kMaxTransferBytes) {
      too_large = true;
      return false;
    }
    answer.body.append(data, size);
    return true;
  };

  const httplib::Result result = client_->send(http);
  answer.transport = TransportOf(result.error(), too_large);
  if (answer.transport != Transport::kAnswered || !result) {
    answer.body.clear();
    if (answer.transport == Transport::kAnswered) {
      answer.transport = Transport::kBroken;
    }
    return answer;
  }
  answer.status = result->status;
  answer.etag = result->get_header_value("ETag");
  return answer;
}

}  // namespace azu::vireo
