#include "vireo/http_client.h"

#include <curl/curl.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <chrono>
#include <mutex>

#include "platform/ascii_case.h"
#include "vireo/key_fingerprint.h"
#include "vireo/protocol.h"

namespace azu::vireo {
namespace {

// The slot of each SSL_CTX that points at the HttpClient checking its server's key.
int ClientSlot() {
  static const int slot = SSL_CTX_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
  return slot;
}

void InitialiseCurl() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// Larger pieces mean fewer calls per file; libcurl's defaults are 16 and 64 KiB.
constexpr long kReceiveBuffer = 512L * 1024;

long Milliseconds(std::chrono::seconds time) {
  return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(time).count());
}

// What one exchange collects from libcurl's callbacks.
struct Collected {
  HttpAnswer* answer;
  CURL* curl;
  const std::function<bool(std::string_view)>* take_body;
  std::size_t body_bytes = 0;
  std::size_t head_bytes = 0;
  bool head_too_large = false;
  bool too_large = false;
};

std::size_t TakeHeader(char* data, std::size_t size, std::size_t count, void* user) {
  auto& collected = *static_cast<Collected*>(user);
  const std::size_t bytes = size * count;
  collected.head_bytes += bytes;
  if (collected.head_bytes > kMaxAnswerHead) {
    collected.head_too_large = true;
    return 0;
  }
  std::string_view line(data, bytes);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  constexpr std::string_view kEtag = "etag:";
  if (platform::EqualsIgnoringAsciiCase(line.substr(0, kEtag.size()), kEtag)) {
    line.remove_prefix(kEtag.size());
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    collected.answer->etag = line;
  }
  return bytes;
}

std::size_t TakeBody(char* data, std::size_t size, std::size_t count, void* user) {
  auto& collected = *static_cast<Collected*>(user);
  std::string& body = collected.answer->body;
  const std::size_t bytes = size * count;
  if (bytes > kMaxTransferBytes - collected.body_bytes) {
    collected.too_large = true;
    return 0;
  }
  collected.body_bytes += bytes;
  long status = 0;
  curl_easy_getinfo(collected.curl, CURLINFO_RESPONSE_CODE, &status);
  if (*collected.take_body && status >= 200 && status <= 299) {
    return (*collected.take_body)(std::string_view(data, bytes)) ? bytes : 0;
  }
  if (body.empty()) {
    // Room for the announced size at once: growing 16 KiB at a time would copy a file many times.
    curl_off_t announced = -1;
    curl_easy_getinfo(collected.curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
    if (announced > 0 && static_cast<std::uint64_t>(announced) <= kMaxTransferBytes) {
      body.reserve(static_cast<std::size_t>(announced));
    }
  }
  body.append(data, bytes);
  return bytes;
}

}  // namespace

// What the handshakes of one client check and saw.
struct HttpClient::KeyCheck {
  std::optional<std::string> pinned;
  std::string seen;
  bool mismatch = false;
};

namespace {

int CheckKey(int /*preverified*/, X509_STORE_CTX* store) {
  // Only the server's own certificate counts; whoever signed it does not.
  if (X509_STORE_CTX_get_error_depth(store) != 0) return 1;
  auto* ssl =
      static_cast<SSL*>(X509_STORE_CTX_get_ex_data(store, SSL_get_ex_data_X509_STORE_CTX_idx()));
  auto* check =
      static_cast<HttpClient::KeyCheck*>(SSL_CTX_get_ex_data(SSL_get_SSL_CTX(ssl), ClientSlot()));
  if (check == nullptr) return 0;
  check->seen = KeyFingerprint(X509_STORE_CTX_get_current_cert(store));
  if (check->seen.empty()) return 0;
  if (!check->pinned) {
    // First use: later handshakes of this client must show the same key.
    check->pinned = check->seen;
    return 1;
  }
  check->mismatch = check->seen != *check->pinned;
  return check->mismatch ? 0 : 1;
}

std::size_t GiveBody(char* buffer, std::size_t size, std::size_t count, void* user) {
  const auto& give =
      *static_cast<const std::function<std::optional<std::size_t>(char*, std::size_t)>*>(user);
  const std::optional<std::size_t> given = give(buffer, size * count);
  return given ? *given : CURL_READFUNC_ABORT;
}

CURLcode PrepareTls(CURL* /*curl*/, void* ssl_context, void* check) {
  auto* context = static_cast<SSL_CTX*>(ssl_context);
  SSL_CTX_set_min_proto_version(context, TLS1_2_VERSION);
  SSL_CTX_set_ex_data(context, ClientSlot(), check);
  // The chain does not matter, only the key: no authority vouches for a Zorne server.
  SSL_CTX_set_verify(context, SSL_VERIFY_PEER, &CheckKey);
  return CURLE_OK;
}

}  // namespace

struct HttpClient::Session {
  CURL* curl = nullptr;
  std::string base_url;
};

HttpClient::HttpClient(const ServerAddress& server, std::optional<std::string> pinned)
    : key_(std::make_unique<KeyCheck>(KeyCheck{std::move(pinned), {}, false})),
      session_(std::make_unique<Session>()) {
  session_->base_url = "https://" + server.host + ":" + std::to_string(server.port);
  InitialiseCurl();
  CURL* curl = curl_easy_init();
  session_->curl = curl;
  if (curl == nullptr) return;
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "https");
  curl_easy_setopt(curl, CURLOPT_PROXY, "");  // never through a proxy the environment names
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, Milliseconds(kConnectTimeout));
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, Milliseconds(kCallDeadline));
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, static_cast<long>(kStallTimeout.count()));
  curl_easy_setopt(curl, CURLOPT_SSLVERSION, static_cast<long>(CURL_SSLVERSION_TLSv1_2));
  // AES-128 first: as strong as a LAN link needs, and a third faster for large files.
  curl_easy_setopt(curl, CURLOPT_TLS13_CIPHERS,
                   "TLS_AES_128_GCM_SHA256:TLS_AES_256_GCM_SHA384:TLS_CHACHA20_POLY1305_SHA256");
  // The key check below replaces the authority and name checks.
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 0L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 0L);
  curl_easy_setopt(curl, CURLOPT_SSL_CTX_FUNCTION, &PrepareTls);
  curl_easy_setopt(curl, CURLOPT_SSL_CTX_DATA, key_.get());
  // A resumed session would skip the key check.
  curl_easy_setopt(curl, CURLOPT_SSL_SESSIONID_CACHE, 0L);
  curl_easy_setopt(curl, CURLOPT_TCP_NODELAY, 1L);
  curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, kReceiveBuffer);
  curl_easy_setopt(curl, CURLOPT_UPLOAD_BUFFERSIZE, kReceiveBuffer);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &TakeHeader);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &TakeBody);
}

HttpClient::~HttpClient() {
  if (session_->curl != nullptr) curl_easy_cleanup(session_->curl);
}

const std::string& HttpClient::SeenKey() const {
  return key_->seen;
}

HttpAnswer HttpClient::Send(const HttpRequest& request) {
  HttpAnswer answer;
  CURL* curl = session_->curl;
  if (curl == nullptr) return answer;
  Collected collected{&answer, curl, &request.take_body};
  key_->mismatch = false;

  const std::string url = session_->base_url + request.target;
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &collected);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &collected);
  const std::string method(request.method);
  const bool has_body = method == "PUT" || method == "POST";
  if (has_body && request.give_body) {
    curl_easy_setopt(curl, CURLOPT_POST, 1L);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, nullptr);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, &GiveBody);
    curl_easy_setopt(curl, CURLOPT_READDATA, &request.give_body);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body_size));
  } else if (has_body) {
    // Sent from the caller's buffer, not copied.
    curl_easy_setopt(curl, CURLOPT_POST, 1L);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, request.body.data());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE,
                     static_cast<curl_off_t>(request.body.size()));
  } else {
    curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
  }
  curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, method == "GET" ? nullptr : method.c_str());

  curl_slist* headers = nullptr;
  const auto add = [&headers](const std::string& line) {
    curl_slist* longer = curl_slist_append(headers, line.c_str());
    if (longer != nullptr) headers = longer;
  };
  if (!request.bearer.empty()) add("Authorization: Bearer " + request.bearer);
  if (!request.if_match.empty()) add("If-Match: " + request.if_match);
  // Without a type of ours libcurl would name a form; "Expect:" keeps it from waiting for 100.
  add(request.content_type.empty() ? "Content-Type:"
                                   : "Content-Type: " + std::string(request.content_type));
  add("Expect:");
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);

  const CURLcode result = curl_easy_perform(curl);
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, nullptr);
  curl_slist_free_all(headers);

  if (result == CURLE_OK) {
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    answer.status = static_cast<int>(status);
    answer.transport = Transport::kAnswered;
    return answer;
  }
  answer.body.clear();
  answer.etag.clear();
  curl_off_t connected_after = 0;
  curl_easy_getinfo(curl, CURLINFO_CONNECT_TIME_T, &connected_after);
  if (key_->mismatch) {
    answer.transport = Transport::kKeyMismatch;
  } else if (collected.too_large) {
    answer.transport = Transport::kTooLarge;
  } else if (result == CURLE_COULDNT_RESOLVE_HOST || result == CURLE_COULDNT_CONNECT ||
             (result == CURLE_OPERATION_TIMEDOUT && connected_after == 0)) {
    answer.transport = Transport::kUnreachable;
  } else {
    answer.transport = Transport::kBroken;
  }
  return answer;
}

}  // namespace azu::vireo
