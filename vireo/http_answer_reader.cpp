#include "vireo/http_answer_reader.h"

#include <algorithm>

#include "platform/ascii_case.h"
#include "vireo/protocol.h"

namespace azu::vireo {
namespace {

// A chunk-size or trailer line longer than this is no such line.
constexpr std::size_t kMaxChunkLine = 1024;
constexpr std::string_view kLineEnd = "\r\n";

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::optional<std::uint64_t> Decimal(std::string_view text) {
  if (text.empty() || text.size() > 19) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return value;
}

bool Contains(std::string_view text, std::string_view word) {
  std::string lower(text);
  for (char& c : lower) c = platform::LowerAscii(c);
  return lower.find(word) != std::string::npos;
}

// The status line and headers of `text` (without the blank line); nullopt when not HTTP/1.x, a
// line holds a lone CR or LF, or a length is no number.
std::optional<HttpAnswerReader::Head> ParseHead(std::string_view text) {
  HttpAnswerReader::Head head;
  const auto line_end = text.find(kLineEnd);
  const std::string_view status_line = text.substr(0, line_end);
  if (!status_line.starts_with("HTTP/1.") || status_line.size() < 12 || status_line[8] != ' ' ||
      status_line.find_first_of("\r\n") != std::string_view::npos) {
    return std::nullopt;
  }
  const auto code = Decimal(status_line.substr(9, 3));
  if (!code || (status_line.size() > 12 && status_line[12] != ' ')) return std::nullopt;
  head.status = static_cast<int>(*code);
  head.close = status_line.starts_with("HTTP/1.0");
  text.remove_prefix(line_end == std::string_view::npos ? text.size() : line_end + 2);
  while (!text.empty()) {
    const auto end = text.find(kLineEnd);
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 2);
    const auto colon = line.find(':');
    // A lone CR or LF inside a line would end it for some other reader.
    if (colon == std::string_view::npos || line.find_first_of("\r\n") != std::string_view::npos) {
      return std::nullopt;
    }
    const std::string_view name = line.substr(0, colon);
    const std::string_view value = Trimmed(line.substr(colon + 1));
    if (platform::EqualsIgnoringAsciiCase(name, "content-length")) {
      const auto length = Decimal(value);
      // Two lengths that disagree leave the body's end open to two readings.
      if (!length || (head.length && *head.length != *length)) return std::nullopt;
      head.length = length;
    } else if (platform::EqualsIgnoringAsciiCase(name, "transfer-encoding")) {
      head.chunked = Contains(value, "chunked");
    } else if (platform::EqualsIgnoringAsciiCase(name, "connection")) {
      head.close = head.close || Contains(value, "close");
    } else if (platform::EqualsIgnoringAsciiCase(name, "etag")) {
      head.etag = value;
    }
  }
  // A length beside chunks: which one ends the body is a guess another reader may make otherwise.
  if (head.length && head.chunked) return std::nullopt;
  return head;
}

// A chunk's size line: hex digits, then perhaps ";extensions".
std::optional<std::uint64_t> ChunkSize(std::string_view line) {
  line = Trimmed(line.substr(0, line.find(';')));
  if (line.empty() || line.size() > 15) return std::nullopt;
  std::uint64_t size = 0;
  for (const char c : line) {
    const char lower = platform::LowerAscii(c);
    const int digit = lower >= '0' && lower <= '9'   ? lower - '0'
                      : lower >= 'a' && lower <= 'f' ? lower - 'a' + 10
                                                     : -1;
    if (digit < 0) return std::nullopt;
    size = size * 16 + static_cast<std::uint64_t>(digit);
  }
  return size;
}

}  // namespace

void HttpAnswerReader::Feed(std::string_view bytes) {
  // What was read goes first, so the buffer holds only what is still to come.
  if (used_ > 0 && state_ != State::kDone) {
    buffer_.erase(0, used_);
    used_ = 0;
  }
  buffer_.append(bytes);
}

HttpAnswerReader::Event HttpAnswerReader::Refuse(Transport why) {
  state_ = State::kRefused;
  refusal_ = why;
  piece_ = {};
  return Event::kRefused;
}

HttpAnswerReader::Event HttpAnswerReader::Done() {
  state_ = State::kDone;
  piece_ = {};
  return Event::kDone;
}

std::optional<std::string_view> HttpAnswerReader::TakeLine(std::size_t limit, bool& refused) {
  const std::string_view unread = Unread();
  const std::size_t end = unread.find(kLineEnd);
  if (end == std::string_view::npos) {
    // A CR last may be the start of the line's end: the line itself is one shorter.
    refused = unread.size() - (unread.ends_with('\r') ? 1 : 0) > limit;
    return std::nullopt;
  }
  if (end > limit) {
    refused = true;
    return std::nullopt;
  }
  used_ += end + kLineEnd.size();
  return unread.substr(0, end);
}

HttpAnswerReader::Event HttpAnswerReader::Piece(std::uint64_t most) {
  const std::string_view unread = Unread();
  const auto size = static_cast<std::size_t>(std::min<std::uint64_t>(most, unread.size()));
  if (size > kMaxTransferBytes - taken_) return Refuse(Transport::kTooLarge);
  piece_ = unread.substr(0, size);
  used_ += size;
  taken_ += size;
  return Event::kBody;
}

HttpAnswerReader::Event HttpAnswerReader::Next() {
  piece_ = {};
  bool refused = false;
  while (true) {
    switch (state_) {
      case State::kHead: {
        const std::string_view unread = Unread();
        const std::size_t end = unread.find("\r\n\r\n");
        if (end == std::string_view::npos) {
          if (unread.size() > kMaxAnswerHead) return Refuse(Transport::kBroken);
          return ended_ ? Refuse(Transport::kBroken) : Event::kNeedMore;
        }
        if (end + 4 > kMaxAnswerHead) return Refuse(Transport::kBroken);
        const std::optional<Head> parsed = ParseHead(unread.substr(0, end));
        if (!parsed) return Refuse(Transport::kBroken);
        used_ += end + 4;
        if (parsed->status < 200) continue;  // an interim head: the answer is still to come
        head_ = *parsed;
        keep_ = !head_.close;
        if (head_.status == 204 || head_.status == 304) {
          state_ = State::kDone;
        } else if (head_.chunked) {
          state_ = State::kChunkSize;
        } else if (head_.length) {
          if (*head_.length > kMaxTransferBytes) return Refuse(Transport::kTooLarge);
          left_ = *head_.length;
          state_ = State::kLength;
        } else {
          keep_ = false;  // the answer ends with the connection
          state_ = State::kUntilClose;
        }
        return Event::kHead;
      }
      case State::kLength:
        if (left_ == 0) return Done();
        if (Unread().empty()) return ended_ ? Refuse(Transport::kBroken) : Event::kNeedMore;
        if (const Event event = Piece(left_); event != Event::kBody) return event;
        left_ -= piece_.size();
        return Event::kBody;
      case State::kChunkSize: {
        const auto line = TakeLine(kMaxChunkLine, refused);
        if (!line) return refused || ended_ ? Refuse(Transport::kBroken) : Event::kNeedMore;
        const auto size = ChunkSize(*line);
        if (!size) return Refuse(Transport::kBroken);
        left_ = *size;
        state_ = left_ == 0 ? State::kTrailer : State::kChunkData;
        continue;
      }
      case State::kChunkData:
        if (left_ == 0) {
          state_ = State::kChunkEnd;
          continue;
        }
        if (Unread().empty()) return ended_ ? Refuse(Transport::kBroken) : Event::kNeedMore;
        if (const Event event = Piece(left_); event != Event::kBody) return event;
        left_ -= piece_.size();
        return Event::kBody;
      case State::kChunkEnd: {
        const auto line = TakeLine(kMaxChunkLine, refused);
        if (!line) return refused || ended_ ? Refuse(Transport::kBroken) : Event::kNeedMore;
        if (!line->empty()) return Refuse(Transport::kBroken);
        state_ = State::kChunkSize;
        continue;
      }
      case State::kTrailer: {
        const auto line = TakeLine(kMaxChunkLine, refused);
        if (!line) return refused || ended_ ? Refuse(Transport::kBroken) : Event::kNeedMore;
        if (line->empty()) return Done();
        continue;
      }
      case State::kUntilClose:
        if (Unread().empty()) return ended_ ? Done() : Event::kNeedMore;
        return Piece(Unread().size());
      case State::kDone:
        return Event::kDone;
      case State::kRefused:
        return Event::kRefused;
    }
  }
}

}  // namespace azu::vireo
