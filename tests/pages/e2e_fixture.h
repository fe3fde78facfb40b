#pragma once
// Fixture for a page's end-to-end tests: the real library against a zorne-emulator on loopback,
// the English text table, a fresh TEMP folder, recorded message boxes.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "app/text_table.h"
#include "framework/recording_message_sink.h"
#include "pages/page.h"
#include "platform/resource.h"
#include "tests/pages/page_fixture.h"
#include "tests/support/running_emulator.h"
#include "tests/support/temp_folder.h"

namespace azu::test {

template <typename Page>
class PageEndToEndTest : public testing::Test {
 protected:
  void SetUp() override {
    ProcessTextTable().Load(platform::FindRawResource(platform::kTextTableResourceId), "en");
    ASSERT_TRUE(emulator.Started()) << emulator.Error();
    ASSERT_TRUE(page.Create(nullptr));
    page.serverName = emulator.Address();
  }
  void TearDown() override { EXPECT_TRUE(folder.Files().empty()) << "temporary files left"; }

  bool Logged(const std::string& event) const {
    const auto events = emulator.Events();
    return std::find(events.begin(), events.end(), event) != events.end();
  }
  // Stores `content` as the server's main configuration file and runs Configure, answering the
  // reboot question with No; gives the file as the server holds it afterwards.
  std::string ConfigureOver(const std::string& content) {
    EXPECT_TRUE(emulator.WriteServerFile(kMainConfigPath, content));
    page.Configure();
    return emulator.ReadServerFile(kMainConfigPath).value_or("<no file>");
  }

  RunningEmulator emulator;
  TempFolderScope folder;
  RecordingMessageSink recorder;
  ScopedMessageSink installed{recorder};
  Page page{PageServices{VireoLibrary(), [this] { return std::optional<std::string>("RONDEL"); }}};
  PageDriver ui{page};
};

}  // namespace azu::test
