// The answer reader on every way an answer ends and every refusal, fed whole and byte by byte.

#include "vireo/http_answer_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vireo/protocol.h"

namespace azu::vireo {
namespace {

using Event = HttpAnswerReader::Event;

struct Outcome {
  Event end = Event::kNeedMore;
  int status = 0;
  std::string etag;
  std::string body;
  Transport refusal = Transport::kAnswered;
  bool keep = false;
  std::string leftover;
  bool operator==(const Outcome&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Outcome& o) {
  return out << "end " << static_cast<int>(o.end) << " status " << o.status << " body '" << o.body
             << "' refusal " << static_cast<int>(o.refusal) << " keep " << o.keep << " leftover '"
             << o.leftover << "'";
}

// Reads `bytes` in pieces of `piece` bytes (0: all at once), then the end of the stream.
Outcome Read(const std::string& bytes, std::size_t piece) {
  HttpAnswerReader reader;
  Outcome outcome;
  std::size_t given = 0;
  for (Event event = reader.Next();; event = reader.Next()) {
    if (event == Event::kNeedMore) {
      if (given == bytes.size()) {
        reader.EndOfStream();
        continue;
      }
      const std::size_t size = piece == 0 ? bytes.size() : piece;
      reader.Feed(std::string_view(bytes).substr(given, size));
      given = std::min(bytes.size(), given + size);
    } else if (event == Event::kHead) {
      outcome.status = reader.GetHead().status;
      outcome.etag = reader.GetHead().etag;
    } else if (event == Event::kBody) {
      outcome.body += reader.Body();
    } else {
      outcome.end = event;
      if (event == Event::kRefused) outcome.refusal = reader.Refusal();
      if (event == Event::kDone) {
        reader.Feed(std::string_view(bytes).substr(given));
        outcome.keep = reader.KeepConnection();
        outcome.leftover = reader.Leftover();
      }
      return outcome;
    }
  }
}

Outcome Answered(int status, std::string body, bool keep, std::string leftover = "",
                 std::string etag = "") {
  return {Event::kDone,         status, std::move(etag),    std::move(body),
          Transport::kAnswered, keep,   std::move(leftover)};
}
Outcome Refused(Transport why, int status = 0) {
  return {Event::kRefused, status, "", "", why, false, ""};
}

TEST(VireoHttpAnswerReader, ReadsEveryKindOfAnswerAndRefusesWhatTheClientRefuses) {
  const std::string head = "HTTP/1.1 200 OK\r\n";
  const std::string big(kMaxAnswerHead, 'x');
  struct Case {
    const char* name;
    std::string bytes;
    Outcome expected;
  };
  const std::vector<Case> cases = {
      {"length", head + "Content-Length: 5\r\nETag: \"v1\"\r\n\r\nhelloNEXT",
       Answered(200, "hello", true, "NEXT", "\"v1\"")},
      {"interim heads first",
       "HTTP/1.1 100 Continue\r\n\r\n" + head + "Content-Length: 2\r\n\r\nok",
       Answered(200, "ok", true)},
      {"chunked with extensions and trailers",
       head + "Transfer-Encoding: chunked\r\n\r\n5;name=v\r\nhello\r\nA\r\n, world!!!\r\n0\r\n"
              "Trailer: x\r\n\r\n",
       Answered(200, "hello, world!!!", true)},
      {"until the close", "HTTP/1.0 200 OK\r\n\r\nall of it", Answered(200, "all of it", false)},
      {"connection close", head + "Connection: close\r\nContent-Length: 1\r\n\r\nz",
       Answered(200, "z", false)},
      {"no content", "HTTP/1.1 204 No Content\r\n\r\n", Answered(204, "", true)},
      {"not modified", "HTTP/1.1 304 Not Modified\r\nContent-Length: 9\r\n\r\n",
       Answered(304, "", true)},
      {"not HTTP", "SSH-2.0-OpenSSH\r\n\r\n", Refused(Transport::kBroken)},
      {"head over 16 KiB", head + "X: " + big + "\r\n\r\n", Refused(Transport::kBroken)},
      {"head never ends", head + big, Refused(Transport::kBroken)},
      {"lone LF in a header", head + "X: a\nb\r\n\r\n", Refused(Transport::kBroken)},
      {"lone CR in a header", head + "X: a\rb\r\n\r\n", Refused(Transport::kBroken)},
      {"length and chunked", head + "Content-Length: 3\r\nTransfer-Encoding: chunked\r\n\r\n",
       Refused(Transport::kBroken)},
      {"two lengths", head + "Content-Length: 3\r\nContent-Length: 4\r\n\r\nabcd",
       Refused(Transport::kBroken)},
      {"length no number", head + "Content-Length: 3x\r\n\r\nabc", Refused(Transport::kBroken)},
      {"length over the limit", head + "Content-Length: 16777217\r\n\r\n",
       Refused(Transport::kTooLarge)},
      {"chunks over the limit",
       head + "Transfer-Encoding: chunked\r\n\r\n1000001\r\n" + std::string(0x1000001, 'a') +
           "\r\n0\r\n\r\n",
       Refused(Transport::kTooLarge, 200)},
      {"chunk size no hex", head + "Transfer-Encoding: chunked\r\n\r\nzz\r\n",
       Refused(Transport::kBroken, 200)},
      {"chunk size too long", head + "Transfer-Encoding: chunked\r\n\r\n1000000000000000\r\n",
       Refused(Transport::kBroken, 200)},
      {"chunk without its end", head + "Transfer-Encoding: chunked\r\n\r\n1\r\nab\r\n0\r\n\r\n",
       Refused(Transport::kBroken, 200)},
      {"cut in the body", head + "Content-Length: 10\r\n\r\nshort",
       Refused(Transport::kBroken, 200)},
      {"cut in the chunks", head + "Transfer-Encoding: chunked\r\n\r\n5\r\nhel",
       Refused(Transport::kBroken, 200)},
      {"cut in the head", head + "Content-Le", Refused(Transport::kBroken)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const std::size_t piece : {0, 1, 7}) {
      if (piece == 1 && c.bytes.size() > 100000) continue;  // byte by byte only where cheap
      Outcome got = Read(c.bytes, piece);
      if (got.end == Event::kRefused) got.body.clear();  // how much came first depends on the cut
      EXPECT_EQ(got, c.expected) << "in pieces of " << piece;
    }
  }
}

}  // namespace
}  // namespace azu::vireo
