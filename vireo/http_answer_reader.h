#pragma once
// Reads one HTTP/1.1 answer from the bytes a connection gives, in whatever pieces they come: the
// status line and the headers the client uses, then the body by its length, in chunks or until
// the connection closes. Plain C++: the Windows client feeds it what Schannel decrypted; it is
// fuzzed and tested on every platform. What it refuses it refuses with the client's status.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "vireo/http_client.h"

namespace azu::vireo {

class HttpAnswerReader {
 public:
  enum class Event {
    kNeedMore,  // Feed() more bytes, or EndOfStream()
    kHead,      // Head() holds the final (non-1xx) head
    kBody,      // Body() holds the next piece of the body
    kDone,      // the answer is whole; Leftover() holds what came after it
    kRefused,   // Refusal() says why; nothing more is read
  };
  struct Head {
    int status = 0;
    std::optional<std::uint64_t> length;
    bool chunked = false;
    bool close = false;  // HTTP/1.0 or "Connection: close"
    std::string etag;
  };

  // Bytes as they arrived; never read past. Nothing is taken after kDone or kRefused.
  void Feed(std::string_view bytes);
  // The connection closed: an answer that runs until the close ends here, any other is cut.
  void EndOfStream() { ended_ = true; }

  // The next event. A kBody piece stays valid until the next call of Next() or Feed().
  Event Next();

  [[nodiscard]] const Head& GetHead() const { return head_; }
  [[nodiscard]] std::string_view Body() const { return piece_; }
  // kBroken (not HTTP, malformed, cut) or kTooLarge (a head over 16 KiB counts as broken; a body
  // over the transfer limit as too large).
  [[nodiscard]] Transport Refusal() const { return refusal_; }
  // After kDone: whether the connection may carry the next request.
  [[nodiscard]] bool KeepConnection() const { return keep_; }
  // After kDone: bytes that came after the answer.
  [[nodiscard]] std::string Leftover() const { return buffer_.substr(used_); }

 private:
  enum class State {
    kHead,
    kLength,
    kChunkSize,
    kChunkData,
    kChunkEnd,
    kTrailer,
    kUntilClose,
    kDone,
    kRefused
  };

  Event Refuse(Transport why);
  Event Done();
  // A line ending in CR LF from what is unread, without it; nullopt while it is not whole (a
  // line longer than `limit` is refused as broken).
  std::optional<std::string_view> TakeLine(std::size_t limit, bool& refused);
  // Up to `most` unread bytes as the next body piece, counted against the transfer limit.
  Event Piece(std::uint64_t most);
  [[nodiscard]] std::string_view Unread() const { return std::string_view(buffer_).substr(used_); }

  std::string buffer_;
  std::size_t used_ = 0;  // bytes of buffer_ already read
  std::string_view piece_;
  State state_ = State::kHead;
  Head head_;
  std::uint64_t left_ = 0;   // of the length, or of the chunk
  std::uint64_t taken_ = 0;  // body bytes given so far
  bool ended_ = false;
  bool keep_ = false;
  Transport refusal_ = Transport::kBroken;
};

}  // namespace azu::vireo
