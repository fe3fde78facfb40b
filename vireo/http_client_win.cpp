// The Windows exchanges: TLS from the system's Schannel over a Winsock connection of our own, and
// HTTP/1.1 written and read here. WinHTTP would carry the request too, but the only place it
// shows the server's certificate before sending is a callback, and closing the request there
// does not stop the send everywhere (wine sends it anyway). Here the key is checked after each
// handshake, and no byte of a request, token or password, goes before that check passed.

#include <winsock2.h>
#include <windows.h>
#include <ws2tcpip.h>
#define SECURITY_WIN32
#include <schannel.h>
#include <security.h>
#include <wincrypt.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#include "platform/ascii_case.h"
#include "vireo/http_answer_reader.h"
#include "vireo/http_client.h"
#include "vireo/key_fingerprint.h"
#include "vireo/protocol.h"

namespace azu::vireo {

struct HttpClient::KeyCheck {
  std::optional<std::string> pinned;
  std::string seen;
  bool mismatch = false;
};

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Pieces of a file sent per TLS record round; larger ones cost copies and no speed.
constexpr std::size_t kSendPiece = std::size_t{64} * 1024;
constexpr std::size_t kReceivePiece = std::size_t{64} * 1024;
// A chunk-size line of a chunked answer; real ones are a few hex digits.

bool StartWinsock() {
  static const bool started = [] {
    WSADATA data{};
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return started;
}

// The end of one call; every wait is the stall limit or what is left of it, whichever is first.
class Deadline {
 public:
  explicit Deadline(Clock::duration whole) : end_(Clock::now() + whole) {}
  [[nodiscard]] milliseconds Left(milliseconds limit) const {
    const auto left = std::chrono::ceil<milliseconds>(end_ - Clock::now());
    return std::max(milliseconds{0}, std::min(left, limit));
  }

 private:
  Clock::time_point end_;
};

// Whether `socket` becomes readable (or writable) within `wait`.
bool WaitFor(SOCKET socket, bool write, milliseconds wait) {
  fd_set ready;
  FD_ZERO(&ready);
  FD_SET(socket, &ready);
  fd_set failed;
  FD_ZERO(&failed);
  FD_SET(socket, &failed);
  timeval time{static_cast<long>(wait.count() / 1000),
               static_cast<long>(wait.count() % 1000) * 1000};
  const int count = select(0, write ? nullptr : &ready, write ? &ready : nullptr, &failed, &time);
  return count > 0 && FD_ISSET(socket, &ready) != 0;
}

std::wstring Widened(std::string_view ascii) {
  return {ascii.begin(), ascii.end()};
}

enum class Read : std::uint8_t { kData, kClosed, kFailed };

// One TLS connection to the server, non-blocking underneath.
class TlsStream {
 public:
  TlsStream() = default;
  ~TlsStream() {
    if (has_context_) DeleteSecurityContext(&context_);
    if (has_credentials_) FreeCredentialsHandle(&credentials_);
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
  }
  TlsStream(const TlsStream&) = delete;
  TlsStream& operator=(const TlsStream&) = delete;
  TlsStream(TlsStream&&) = delete;
  TlsStream& operator=(TlsStream&&) = delete;

  // kAnswered once connected and the handshake is done; kUnreachable when no connection came
  // within the connect limit.
  Transport Open(const ServerAddress& server, const Deadline& deadline) {
    if (!Connect(server, deadline)) return Transport::kUnreachable;
    return Handshake(server.host, deadline) ? Transport::kAnswered : Transport::kBroken;
  }

  // The fingerprint of the key the handshake showed; "" when there is none.
  [[nodiscard]] std::string ServerKey() {
    const CERT_CONTEXT* certificate = nullptr;
    if (QueryContextAttributesW(&context_, SECPKG_ATTR_REMOTE_CERT_CONTEXT, &certificate) !=
            SEC_E_OK ||
        certificate == nullptr) {
      return {};
    }
    std::string key = KeyFingerprint(certificate);
    CertFreeCertificateContext(certificate);
    return key;
  }

  [[nodiscard]] bool Write(std::string_view bytes, const Deadline& deadline) {
    const std::size_t room = sizes_.cbMaximumMessage;
    record_.resize(sizes_.cbHeader + room + sizes_.cbTrailer);
    while (!bytes.empty()) {
      const std::size_t piece = std::min(bytes.size(), room);
      char* data = record_.data() + sizes_.cbHeader;
      std::memcpy(data, bytes.data(), piece);
      SecBuffer buffers[4] = {{sizes_.cbHeader, SECBUFFER_STREAM_HEADER, record_.data()},
                              {static_cast<ULONG>(piece), SECBUFFER_DATA, data},
                              {sizes_.cbTrailer, SECBUFFER_STREAM_TRAILER, data + piece},
                              {0, SECBUFFER_EMPTY, nullptr}};
      SecBufferDesc description{SECBUFFER_VERSION, 4, buffers};
      if (EncryptMessage(&context_, 0, &description, 0) != SEC_E_OK) return false;
      const std::size_t size =
          std::size_t{buffers[0].cbBuffer} + buffers[1].cbBuffer + buffers[2].cbBuffer;
      if (!SendRaw(record_.data(), size, deadline)) return false;
      bytes.remove_prefix(piece);
    }
    return true;
  }

  // Appends what the server sent next to `plain`.
  [[nodiscard]] Read ReadSome(std::string& plain, const Deadline& deadline) {
    while (true) {
      if (!incoming_.empty()) {
        SecBuffer buffers[4] = {
            {static_cast<ULONG>(incoming_.size()), SECBUFFER_DATA, incoming_.data()},
            {0, SECBUFFER_EMPTY, nullptr},
            {0, SECBUFFER_EMPTY, nullptr},
            {0, SECBUFFER_EMPTY, nullptr}};
        SecBufferDesc description{SECBUFFER_VERSION, 4, buffers};
        const SECURITY_STATUS status = DecryptMessage(&context_, &description, 0, nullptr);
        if (status == SEC_E_OK) {
          std::size_t produced = 0;
          const SecBuffer* extra = nullptr;
          for (const SecBuffer& buffer : buffers) {
            if (buffer.BufferType == SECBUFFER_DATA && buffer.cbBuffer > 0) {
              plain.append(static_cast<const char*>(buffer.pvBuffer), buffer.cbBuffer);
              produced += buffer.cbBuffer;
            } else if (buffer.BufferType == SECBUFFER_EXTRA) {
              extra = &buffer;
            }
          }
          KeepExtra(extra);
          if (produced > 0) return Read::kData;
          continue;
        }
        if (status == SEC_I_CONTEXT_EXPIRED) return Read::kClosed;  // the server's close_notify
        if (status != SEC_E_INCOMPLETE_MESSAGE) return Read::kFailed;
      }
      const int got = ReceiveRaw(deadline);
      if (got == 0) return incoming_.empty() ? Read::kClosed : Read::kFailed;
      if (got < 0) return Read::kFailed;
    }
  }

  // Whether an idle connection may carry another request: nothing arrived on it meanwhile,
  // neither data nor the server's close.
  [[nodiscard]] bool Idle() const {
    return incoming_.empty() && !WaitFor(socket_, false, milliseconds{0});
  }

 private:
  bool Connect(const ServerAddress& server, const Deadline& deadline) {
    if (!StartWinsock()) return false;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    addrinfo* found = nullptr;
    if (getaddrinfo(server.host.c_str(), std::to_string(server.port).c_str(), &hints, &found) !=
        0) {
      return false;
    }
    const auto until = Clock::now() + kConnectTimeout;
    for (const addrinfo* at = found; at != nullptr; at = at->ai_next) {
      SOCKET socket = ::socket(at->ai_family, at->ai_socktype, at->ai_protocol);
      if (socket == INVALID_SOCKET) continue;
      u_long non_blocking = 1;
      ioctlsocket(socket, FIONBIO, &non_blocking);
      const bool started = ::connect(socket, at->ai_addr, static_cast<int>(at->ai_addrlen)) == 0 ||
                           WSAGetLastError() == WSAEWOULDBLOCK;
      const auto wait = std::min(
          deadline.Left(kConnectTimeout),
          std::max(milliseconds{0}, std::chrono::ceil<milliseconds>(until - Clock::now())));
      int error = 0;
      int size = sizeof error;
      if (started && WaitFor(socket, true, wait) &&
          getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size) == 0 &&
          error == 0) {
        const BOOL on = TRUE;
        setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
        socket_ = socket;
        break;
      }
      closesocket(socket);
    }
    freeaddrinfo(found);
    return socket_ != INVALID_SOCKET;
  }

  bool Handshake(const std::string& host, const Deadline& deadline) {
    SCHANNEL_CRED wanted{};
    wanted.dwVersion = SCHANNEL_CRED_VERSION;
    wanted.grbitEnabledProtocols = SP_PROT_TLS1_2_CLIENT;
    // No authority vouches for a Zorne server: the pinned key replaces the chain and name checks.
    wanted.dwFlags =
        SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS | SCH_USE_STRONG_CRYPTO;
    TimeStamp expiry{};
    if (AcquireCredentialsHandleW(nullptr, const_cast<wchar_t*>(UNISP_NAME_W), SECPKG_CRED_OUTBOUND,
                                  nullptr, &wanted, nullptr, nullptr, &credentials_,
                                  &expiry) != SEC_E_OK) {
      return false;
    }
    has_credentials_ = true;
    std::wstring target = Widened(host);
    constexpr DWORD kFlags = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT |
                             ISC_REQ_CONFIDENTIALITY | ISC_REQ_EXTENDED_ERROR |
                             ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM |
                             ISC_REQ_MANUAL_CRED_VALIDATION;
    bool first = true;
    bool read_first = false;
    while (true) {
      if (read_first && ReceiveRaw(deadline) <= 0) return false;
      SecBuffer in[2] = {{static_cast<ULONG>(incoming_.size()), SECBUFFER_TOKEN, incoming_.data()},
                         {0, SECBUFFER_EMPTY, nullptr}};
      SecBufferDesc in_description{SECBUFFER_VERSION, 2, in};
      SecBuffer out[1] = {{0, SECBUFFER_TOKEN, nullptr}};
      SecBufferDesc out_description{SECBUFFER_VERSION, 1, out};
      DWORD granted = 0;
      const SECURITY_STATUS status = InitializeSecurityContextW(
          &credentials_, first ? nullptr : &context_, target.data(), kFlags, 0, 0,
          first ? nullptr : &in_description, 0, first ? &context_ : nullptr, &out_description,
          &granted, &expiry);
      if (first && (status == SEC_E_OK || status == SEC_I_CONTINUE_NEEDED)) has_context_ = true;
      bool sent = true;
      if (out[0].pvBuffer != nullptr) {
        if (out[0].cbBuffer > 0 && (status == SEC_E_OK || status == SEC_I_CONTINUE_NEEDED)) {
          sent = SendRaw(static_cast<const char*>(out[0].pvBuffer), out[0].cbBuffer, deadline);
        }
        FreeContextBuffer(out[0].pvBuffer);
      }
      if (!sent) return false;
      if (status == SEC_E_INCOMPLETE_MESSAGE) {
        read_first = true;
        continue;
      }
      if (status != SEC_E_OK && status != SEC_I_CONTINUE_NEEDED) return false;
      if (!first) KeepExtra(in[1].BufferType == SECBUFFER_EXTRA ? &in[1] : nullptr);
      first = false;
      if (status == SEC_E_OK) break;
      read_first = incoming_.empty();
    }
    SecPkgContext_ConnectionInfo connection{};
    if (QueryContextAttributesW(&context_, SECPKG_ATTR_CONNECTION_INFO, &connection) != SEC_E_OK ||
        (connection.dwProtocol & (SP_PROT_TLS1_2_CLIENT | SP_PROT_TLS1_3_CLIENT)) == 0) {
      return false;
    }
    return QueryContextAttributesW(&context_, SECPKG_ATTR_STREAM_SIZES, &sizes_) == SEC_E_OK &&
           sizes_.cbMaximumMessage > 0;
  }

  // Keeps the bytes Schannel did not take (the start of the next record) at the front.
  void KeepExtra(const SecBuffer* extra) {
    if (extra == nullptr || extra->cbBuffer == 0) {
      incoming_.clear();
      return;
    }
    const std::size_t keep = extra->cbBuffer;
    std::memmove(incoming_.data(), incoming_.data() + incoming_.size() - keep, keep);
    incoming_.resize(keep);
  }

  bool SendRaw(const char* bytes, std::size_t size, const Deadline& deadline) {
    while (size > 0) {
      const int sent =
          ::send(socket_, bytes, static_cast<int>(std::min<std::size_t>(size, 1 << 20)), 0);
      if (sent > 0) {
        bytes += sent;
        size -= static_cast<std::size_t>(sent);
        continue;
      }
      if (sent < 0 && WSAGetLastError() == WSAEWOULDBLOCK &&
          WaitFor(socket_, true, deadline.Left(kStallTimeout))) {
        continue;
      }
      return false;
    }
    return true;
  }

  // Bytes appended to `incoming_`; 0 when the server closed, -1 on failure or timeout.
  int ReceiveRaw(const Deadline& deadline) {
    const std::size_t had = incoming_.size();
    incoming_.resize(had + kReceivePiece);
    while (true) {
      const int got = ::recv(socket_, incoming_.data() + had, static_cast<int>(kReceivePiece), 0);
      if (got >= 0) {
        incoming_.resize(had + static_cast<std::size_t>(got));
        return got;
      }
      if (WSAGetLastError() != WSAEWOULDBLOCK ||
          !WaitFor(socket_, false, deadline.Left(kStallTimeout))) {
        incoming_.resize(had);
        return -1;
      }
    }
  }

  SOCKET socket_ = INVALID_SOCKET;
  CredHandle credentials_{};
  bool has_credentials_ = false;
  CtxtHandle context_{};
  bool has_context_ = false;
  SecPkgContext_StreamSizes sizes_{};
  std::vector<char> incoming_;  // received, not yet decrypted
  std::vector<char> record_;    // the record being encrypted
};

}  // namespace

struct HttpClient::Session {
  ServerAddress server;
  std::unique_ptr<TlsStream> stream;
  std::string pending;    // decrypted, not yet read
  bool reused = false;    // whether the exchange under way went on a kept connection
  bool sent = false;      // whether its request went out whole
  bool received = false;  // whether it got any answer byte

  [[nodiscard]] HttpAnswer Exchange(const HttpRequest& request, KeyCheck& key);

  // Appends the next bytes of the answer to `pending`.
  [[nodiscard]] Read More(const Deadline& deadline) {
    const Read read = stream->ReadSome(pending, deadline);
    if (read == Read::kData) received = true;
    return read;
  }
};

namespace {

// Whether the key a handshake showed may be sent to; with none pinned the first one seen becomes
// the one every later handshake of this client must show.
bool KeyAccepted(HttpClient::KeyCheck& check, std::string seen) {
  check.seen = std::move(seen);
  if (check.seen.empty()) return false;
  if (!check.pinned) {
    check.pinned = check.seen;
    return true;
  }
  check.mismatch = check.seen != *check.pinned;
  return !check.mismatch;
}

std::string RequestHead(const HttpRequest& request, const ServerAddress& server, bool has_body,
                        std::uint64_t body_size) {
  std::string head;
  head.reserve(256 + request.bearer.size());
  head.append(request.method).append(" ").append(request.target).append(" HTTP/1.1\r\n");
  head.append("Host: ").append(server.host).append(":").append(std::to_string(server.port));
  head.append("\r\n");
  if (!request.bearer.empty()) {
    head.append("Authorization: Bearer ").append(request.bearer).append("\r\n");
  }
  if (!request.if_match.empty()) head.append("If-Match: ").append(request.if_match).append("\r\n");
  if (!request.content_type.empty()) {
    head.append("Content-Type: ").append(request.content_type).append("\r\n");
  }
  if (has_body) head.append("Content-Length: ").append(std::to_string(body_size)).append("\r\n");
  head.append("\r\n");
  return head;
}

}  // namespace

HttpAnswer HttpClient::Session::Exchange(const HttpRequest& request, KeyCheck& key) {
  HttpAnswer answer;
  received = false;
  sent = false;
  reused = stream != nullptr;
  key.mismatch = false;
  const Deadline deadline(kCallDeadline);
  const auto fail = [this, &answer](Transport transport) {
    stream.reset();
    pending.clear();
    answer = HttpAnswer{};
    answer.transport = transport;
    return answer;
  };
  if (!stream) {
    auto opened = std::make_unique<TlsStream>();
    const Transport transport = opened->Open(server, deadline);
    if (transport != Transport::kAnswered) return fail(transport);
    // Checked before the first byte of the request: a contradicted pin gets nothing at all.
    if (!KeyAccepted(key, opened->ServerKey())) {
      return fail(key.mismatch ? Transport::kKeyMismatch : Transport::kBroken);
    }
    stream = std::move(opened);
    pending.clear();
  }

  const std::string_view method = request.method;
  const bool has_body = method == "PUT" || method == "POST";
  const bool streamed = has_body && static_cast<bool>(request.give_body);
  const std::uint64_t body_size = streamed ? request.body_size : request.body.size();
  std::string head = RequestHead(request, server, has_body, body_size);
  if (has_body && !streamed) head += request.body;
  if (!stream->Write(head, deadline)) return fail(Transport::kBroken);
  if (streamed) {
    std::string buffer(kSendPiece, '\0');
    for (std::uint64_t left = body_size; left > 0;) {
      const auto room = static_cast<std::size_t>(std::min<std::uint64_t>(left, kSendPiece));
      const std::optional<std::size_t> given = request.give_body(buffer.data(), room);
      if (!given || *given == 0 || *given > room ||
          !stream->Write(std::string_view(buffer.data(), *given), deadline)) {
        return fail(Transport::kBroken);
      }
      left -= *given;
    }
  }
  sent = true;

  // The answer, from what is pending first; the reader says where it ends and what it refuses.
  HttpAnswerReader reader;
  reader.Feed(pending);
  pending.clear();
  bool to_caller = false;
  for (HttpAnswerReader::Event event = reader.Next(); event != HttpAnswerReader::Event::kDone;
       event = reader.Next()) {
    switch (event) {
      case HttpAnswerReader::Event::kNeedMore: {
        const Read read = More(deadline);
        if (read == Read::kFailed) return fail(Transport::kBroken);
        if (read == Read::kClosed) reader.EndOfStream();
        reader.Feed(pending);
        pending.clear();
        break;
      }
      case HttpAnswerReader::Event::kHead: {
        const HttpAnswerReader::Head& head = reader.GetHead();
        answer.status = head.status;
        answer.etag = head.etag;
        to_caller = head.status >= 200 && head.status <= 299 && request.take_body;
        // Room for the announced size at once: growing piece by piece would copy a file many
        // times.
        if (!to_caller && head.length) answer.body.reserve(static_cast<std::size_t>(*head.length));
        break;
      }
      case HttpAnswerReader::Event::kBody:
        if (to_caller) {
          if (!request.take_body(reader.Body())) return fail(Transport::kBroken);
        } else {
          answer.body.append(reader.Body());
        }
        break;
      case HttpAnswerReader::Event::kRefused:
        return fail(reader.Refusal());
      case HttpAnswerReader::Event::kDone:
        break;
    }
  }
  if (reader.KeepConnection()) {
    pending = reader.Leftover();
  } else {
    stream.reset();
    pending.clear();
  }
  answer.transport = Transport::kAnswered;
  return answer;
}

HttpClient::HttpClient(const ServerAddress& server, std::optional<std::string> pinned)
    : key_(std::make_unique<KeyCheck>(KeyCheck{std::move(pinned), {}, false})),
      session_(std::make_unique<Session>()) {
  session_->server = server;
}

HttpClient::~HttpClient() = default;

const std::string& HttpClient::SeenKey() const {
  return key_->seen;
}

HttpAnswer HttpClient::Send(const HttpRequest& request) {
  Session& session = *session_;
  const bool streamed = static_cast<bool>(request.give_body);
  if (session.stream && !session.stream->Idle()) session.stream.reset();
  HttpAnswer answer = session.Exchange(request, *key_);
  // A kept connection the server closed meanwhile fails before any answer. The request goes once
  // more on a new connection (and a new key check) when the server cannot have acted on it: it
  // did not go out whole, or it only reads. A body read from a file cannot be given again.
  const bool repeatable = !session.sent || request.method == "GET";
  if (answer.transport == Transport::kBroken && session.reused && !session.received && repeatable &&
      !streamed) {
    answer = session.Exchange(request, *key_);
  }
  return answer;
}

}  // namespace azu::vireo
