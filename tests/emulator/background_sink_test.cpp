#include "emulator/background_sink.h"

#include <gtest/gtest.h>

#include <string>

namespace azu::emulator {
namespace {

// Pieces of odd sizes across many chunks arrive whole and in order; a small store stays on the
// caller's thread.
TEST(BackgroundSink, KeepsTheOrderOfEveryByte) {
  std::string sent;
  for (int i = 0; sent.size() < 3 * BackgroundSink::kChunk + 12345; ++i) {
    sent += std::to_string(i) + ",";
  }
  for (const std::size_t piece : {std::size_t{1}, std::size_t{16384}, std::size_t{1000003}}) {
    std::string consumed;
    BackgroundSink sink([&consumed](std::string_view chunk) {
      consumed.append(chunk);
      return true;
    });
    for (std::size_t at = 0; at < sent.size(); at += piece) {
      ASSERT_TRUE(sink.Add(std::string_view(sent).substr(at, piece)));
    }
    ASSERT_TRUE(sink.Finish());
    EXPECT_EQ(consumed, sent) << piece;
  }
}

TEST(BackgroundSink, AFailedChunkStopsTheRestAndIsReported) {
  int calls = 0;
  BackgroundSink sink([&calls](std::string_view) { return ++calls < 2; });
  const std::string chunk(BackgroundSink::kChunk, 'x');
  bool refused = false;
  for (int i = 0; i < 50 && !refused; ++i) refused = !sink.Add(chunk);
  EXPECT_FALSE(sink.Finish());
  EXPECT_EQ(calls, 2);
}

}  // namespace
}  // namespace azu::emulator
