#pragma once
// Fixtures for page tests: the English text table, a fresh TEMP folder, recorded message boxes,
// and a page window driven the way the user drives it (typing, choosing list entries, clicking).

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/text_table.h"
#include "framework/ip_address_control.h"
#include "framework/qt/qt_dialog.h"
#include "framework/recording_message_sink.h"
#include "pages/page.h"
#include "platform/resource.h"
#include "tests/support/fake_library.h"
#include "tests/support/temp_folder.h"

namespace azu::test {

inline constexpr const char* kMainConfigPath = "/not-scsi0/dev0/maj_0.cfg";

// Drives the controls of a page's window by id.
class PageDriver {
 public:
  explicit PageDriver(Dialog& page) : page_(page) {}

  QLineEdit* Edit(int id) const { return qobject_cast<QLineEdit*>(QtWidget(page_.Item(id))); }
  QComboBox* List(int id) const { return qobject_cast<QComboBox*>(QtWidget(page_.Item(id))); }
  IpAddressControl Address(int id) const { return page_.IpAddress(id); }
  bool Enabled(int id) const { return QtWidget(page_.Item(id))->isEnabled(); }

  void Type(int id, const char* text) const { Edit(id)->setText(QString::fromUtf8(text)); }
  // As the user's choice in the drop-down list.
  void Choose(int id, int index) const {
    List(id)->setCurrentIndex(index);
    emit List(id)->activated(index);
  }
  // A click does nothing on a disabled button, as for the user.
  void Click(int id) const { qobject_cast<QAbstractButton*>(QtWidget(page_.Item(id)))->click(); }

 private:
  Dialog& page_;
};

// A page against the fake library, with the password prompt answering "RONDEL".
template <typename Page, typename Library = FakeLibrary>
class FakePageTest : public testing::Test {
 protected:
  void SetUp() override {
    ProcessTextTable().Load(platform::FindRawResource(platform::kTextTableResourceId), "en");
    ASSERT_TRUE(page.Create(nullptr));
    page.serverName = "zorne1";
  }
  void TearDown() override { EXPECT_TRUE(folder.Files().empty()) << "temporary files left"; }

  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& box : recorder.Boxes()) texts.push_back(box.text);
    return texts;
  }
  bool Called(const std::string& call) const {
    return std::find(library.calls.begin(), library.calls.end(), call) != library.calls.end();
  }

  TempFolderScope folder;
  Library library;
  RecordingMessageSink recorder;
  ScopedMessageSink installed{recorder};
  int prompts = 0;
  Page page{PageServices{library, [this]() -> std::optional<std::string> {
                           ++prompts;
                           return std::string("RONDEL");
                         }}};
  PageDriver ui{page};
};

}  // namespace azu::test
