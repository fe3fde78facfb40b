// The frame of Configure: what stops it before the connection, and the disconnection on every path.

#include "server/configure.h"

#include <gtest/gtest.h>

#include "app/text_table.h"
#include "framework/recording_message_sink.h"
#include "platform/resource.h"
#include "tests/support/fake_library.h"

namespace azu {
namespace {

class ConfigureTest : public testing::Test {
 protected:
  void SetUp() override {
    ProcessTextTable().Load(platform::FindRawResource(platform::kTextTableResourceId), "en");
    steps.checkPage = [this] { return ++checks, pageValid; };
    steps.askPassword = [this]() -> std::optional<std::string> {
      ++prompts;
      return typedPassword;
    };
    steps.transaction = [this](VIREO_CONNECTION connection) {
      library.calls.push_back("Transaction " + std::to_string(connection));
    };
  }

  test::FakeLibrary library;
  RecordingMessageSink recorder;
  ScopedMessageSink installed{recorder};
  ConfigureSteps steps;
  int checks = 0;
  int prompts = 0;
  bool pageValid = true;
  std::optional<std::string> typedPassword = "RONDEL";
};

TEST_F(ConfigureTest, EmptyServerNameStopsBeforeTheChecksAndThePrompt) {
  RunConfigure(library, "", steps);
  ASSERT_EQ(recorder.Boxes().size(), 1U);
  EXPECT_EQ(recorder.Boxes()[0].text, "You need to specify a Zorne Server");
  EXPECT_EQ(recorder.Boxes()[0].type, kNoticeBox);
  EXPECT_EQ(checks, 0);
  EXPECT_EQ(prompts, 0);
  EXPECT_TRUE(library.calls.empty());
}

TEST_F(ConfigureTest, FailedPageCheckOrCancelledPromptNeverConnects) {
  pageValid = false;
  RunConfigure(library, "zorne1", steps);
  EXPECT_EQ(prompts, 0);
  pageValid = true;
  typedPassword.reset();
  RunConfigure(library, "zorne1", steps);
  EXPECT_EQ(prompts, 1);
  EXPECT_TRUE(library.calls.empty());
  EXPECT_TRUE(recorder.Boxes().empty());  // cancelling says nothing
}

TEST_F(ConfigureTest, WrongPasswordOrNoServerGiveOneMessageWithoutAStatus) {
  typedPassword = "wrong";
  RunConfigure(library, "zorne1", steps);
  library.failAt = {{"Connect", VIREO_E_UNREACHABLE}};
  typedPassword = "RONDEL";
  RunConfigure(library, "zorne1", steps);
  ASSERT_EQ(recorder.Boxes().size(), 2U);
  for (const auto& box : recorder.Boxes()) {
    EXPECT_EQ(box.text, "Zorne Administrator password incorrect or server unavailable");
    EXPECT_EQ(box.type, kErrorBox);
  }
  EXPECT_EQ(library.calls, (std::vector<std::string>{"Connect zorne1", "Connect zorne1"}));
}

TEST_F(ConfigureTest, TransactionRunsOnTheConnectionWhichIsThenClosed) {
  RunConfigure(library, "10.0.0.5", steps);
  EXPECT_EQ(library.calls,
            (std::vector<std::string>{"Connect 10.0.0.5", "Transaction 42", "Disconnect 42"}));
}

}  // namespace
}  // namespace azu
