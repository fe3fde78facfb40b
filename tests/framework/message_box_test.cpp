#include "framework/message_box.h"

#include <gtest/gtest.h>

#include "framework/recording_message_sink.h"

namespace azu {
namespace {

TEST(MessageBoxDispatch, EveryKindReachesTheInstalledSinkWithItsType) {
  RecordingMessageSink recorder;
  const ScopedMessageSink installed(recorder);
  EXPECT_EQ(ShowMessageBox("notice", kNoticeBox), IDOK);
  EXPECT_EQ(ShowMessageBox("error", kErrorBox), IDOK);
  recorder.SetNextAnswer(IDYES);
  EXPECT_EQ(ShowMessageBox("reboot?", kQuestionBox), IDYES);
  EXPECT_EQ(ShowMessageBox("info", kInformationBox), IDOK);

  ASSERT_EQ(recorder.Boxes().size(), 4U);
  EXPECT_EQ(recorder.Boxes()[0].type, 0U);
  EXPECT_EQ(recorder.Boxes()[1].type, 16U);
  EXPECT_EQ(recorder.Boxes()[2].type, 36U);
  EXPECT_EQ(recorder.Boxes()[3].type, 64U);
  EXPECT_EQ(recorder.Boxes()[2].text, "reboot?");
}

TEST(MessageBoxDispatch, UnscriptedQuestionIsAnsweredNoSoNothingHappensByAccident) {
  RecordingMessageSink recorder;
  const ScopedMessageSink installed(recorder);
  EXPECT_EQ(ShowMessageBox("Reboot now?", kQuestionBox), IDNO);
}

TEST(MessageBoxDispatch, NullTextShowsAnEmptyBox) {
  RecordingMessageSink recorder;
  const ScopedMessageSink installed(recorder);
  ShowMessageBox(static_cast<const char*>(nullptr), kErrorBox);
  ASSERT_EQ(recorder.Boxes().size(), 1U);
  EXPECT_TRUE(recorder.Boxes()[0].text.empty());
}

TEST(MessageBoxDispatch, ScopeEndRestoresThePreviousSink) {
  RecordingMessageSink outer;
  const ScopedMessageSink outerInstalled(outer);
  {
    RecordingMessageSink inner;
    const ScopedMessageSink innerInstalled(inner);
    ShowMessageBox("inner", kNoticeBox);
    EXPECT_EQ(inner.Boxes().size(), 1U);
  }
  ShowMessageBox("outer", kNoticeBox);
  ASSERT_EQ(outer.Boxes().size(), 1U);
  EXPECT_EQ(outer.Boxes()[0].text, "outer");
}

TEST(MessageBoxDispatch, DefaultSinkNeverBlocksAndDeclinesQuestions) {
  InstallMessageSink(nullptr);
  testing::internal::CaptureStderr();
  EXPECT_EQ(ShowMessageBox("Reboot now?", kQuestionBox), IDNO);
  EXPECT_EQ(ShowMessageBox("done", kInformationBox), IDOK);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("Reboot now?"), std::string::npos);
}

}  // namespace
}  // namespace azu
