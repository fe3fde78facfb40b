#include "vireo/connection.h"

#include <atomic>
#include <utility>

#include "vireo/protocol.h"
#include "vireo/status_mapping.h"
#include "vireo/url_encoding.h"

namespace azu::vireo {
namespace {

constexpr std::size_t kTokenLength = 32;

}  // namespace

bool IsSessionToken(std::string_view text) {
  if (text.size() != kTokenLength) {
    return false;
  }
  for (char c : text) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) {
      return false;
    }
  }
  return true;
}

namespace {

// Connections of this process not yet closed; the last to close writes the pins they made.
std::atomic<int> g_open_connections{0};

}  // namespace

Connection::Connection(const ServerAddress& server, std::string named)
    : known_(DefaultKnownServersFile()),
      pin_name_(PinName(server)),
      named_(std::move(named)),
      pinned_(known_.Pinned(pin_name_)),
      http_(server, pinned_) {
  ++g_open_connections;
}

Connection::~Connection() {
  if (--g_open_connections == 0) FlushPinsUnlessBusy();
}

VIREO_STATUS Connection::Login(std::string_view user, std::string_view password) {
  HttpRequest request;
  request.method = "POST";
  request.target = kSessionTarget;
  request.body = FormEncode({{"user", user}, {"password", password}});
  request.content_type = kFormContentType;

  const std::lock_guard lock(mutex_);
  const HttpAnswer answer = http_.Send(request);
  const VIREO_STATUS status = StatusOfAnswer(answer, Exchange::kLogin, kHttpOk);
  if (status == VIREO_E_HOSTKEY) {
    NoteKeyMismatch(named_, {http_.SeenKey(), pinned_.value_or(""), known_.File()});
  }
  if (status != VIREO_OK) {
    return status;
  }
  if (!IsSessionToken(answer.body)) {
    return VIREO_E_PROTOCOL;
  }
  token_ = answer.body;
  // Written when the last connection closes; as ssh does, a key that could not be kept is
  // checked again next time, not refused now.
  if (!pinned_ && !known_.File().empty()) known_.PinLater(pin_name_, http_.SeenKey());
  return VIREO_OK;
}

void Connection::Logout() {
  {
    const std::lock_guard lock(mutex_);
    if (token_.empty()) return;
  }
  HttpRequest request;
  request.method = "DELETE";
  request.target = kSessionTarget;
  // The answer does not change what a leaving caller does next.
  static_cast<void>(Send(std::move(request)));
}

void Connection::SessionEnded() {
  const std::lock_guard lock(mutex_);
  token_.clear();
}

HttpAnswer Connection::Send(HttpRequest request) {
  const std::lock_guard lock(mutex_);
  request.bearer = token_;
  return http_.Send(request);
}

VIREO_STATUS Connection::PostForm(std::string_view target, std::string body, bool is_attribute) {
  HttpRequest request;
  request.method = "POST";
  request.target = target;
  if (!body.empty()) {
    request.content_type = kFormContentType;
  }
  request.body = std::move(body);
  const HttpAnswer answer = Send(std::move(request));
  return StatusOfAnswer(answer, is_attribute ? Exchange::kAttribute : Exchange::kOther,
                        kHttpNoContent);
}

}  // namespace azu::vireo
