// libFuzzer driver: any bytes a server can send as an answer, cut into arbitrary pieces. The
// reader must never read past what it was given, never give more body than the limit, and reach
// the same result whatever the cut.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "vireo/http_answer_reader.h"
#include "vireo/protocol.h"

namespace {

using azu::vireo::HttpAnswerReader;

struct Result {
  HttpAnswerReader::Event end = HttpAnswerReader::Event::kNeedMore;
  int status = 0;
  std::string body;
  azu::vireo::Transport refusal = azu::vireo::Transport::kAnswered;
  bool keep = false;
  std::string leftover;
  bool operator==(const Result&) const = default;
};

// Feeds `bytes` in pieces whose sizes come from `cuts` (cycled), then the end of the stream.
Result Read(std::string_view bytes, std::string_view cuts) {
  HttpAnswerReader reader;
  Result result;
  std::size_t given = 0;
  std::size_t cut = 0;
  for (;;) {
    const HttpAnswerReader::Event event = reader.Next();
    if (event == HttpAnswerReader::Event::kNeedMore) {
      if (given == bytes.size()) {
        reader.EndOfStream();
        continue;
      }
      const std::size_t size = cuts.empty()
                                   ? bytes.size()
                                   : 1 + static_cast<unsigned char>(cuts[cut++ % cuts.size()]) % 64;
      const std::string_view piece = bytes.substr(given, size);
      reader.Feed(piece);
      given += piece.size();
    } else if (event == HttpAnswerReader::Event::kHead) {
      result.status = reader.GetHead().status;
    } else if (event == HttpAnswerReader::Event::kBody) {
      if (reader.Body().empty()) __builtin_trap();  // a body event always moves on
      result.body.append(reader.Body());
      if (result.body.size() > azu::vireo::kMaxTransferBytes) __builtin_trap();
    } else {
      result.end = event;
      if (event == HttpAnswerReader::Event::kRefused) {
        result.refusal = reader.Refusal();
        result.body.clear();  // how much came before the refusal depends on the cut
      }
      if (event == HttpAnswerReader::Event::kDone) {
        // What follows the answer is kept whole, however much of it had come.
        reader.Feed(bytes.substr(given));
        given = bytes.size();
        result.keep = reader.KeepConnection();
        result.leftover = reader.Leftover();
      }
      break;
    }
  }
  if (result.body.size() > given) __builtin_trap();
  // What came after the answer is a tail of what was given.
  if (!bytes.substr(0, given).ends_with(result.leftover)) __builtin_trap();
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first bytes choose the cuts; the rest is the answer.
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.empty() ? 0 : static_cast<unsigned char>(input[0]) % 8;
  const std::string_view cuts =
      input.substr(std::min<std::size_t>(1, input.size()),
                   std::min(split, input.size() > 0 ? input.size() - 1 : 0));
  const std::string_view bytes = input.substr(std::min(input.size(), 1 + split));
  const Result whole = Read(bytes, {});
  const Result cut = Read(bytes, cuts.empty() ? std::string_view("\x01") : cuts);
  if (!(whole == cut)) __builtin_trap();
  return 0;
}
