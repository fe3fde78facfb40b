// Search... end to end: the library's discovery finds three emulators on loopback, two of the
// chosen series; the dialog lists those two sorted and the chosen address lands in the field.
// A server's name reaches the records in the program's own encoding.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <array>
#include <memory>
#include <vector>

#include "app/text_table.h"
#include "framework/qt/qt_dialog.h"
#include "framework/recording_message_sink.h"
#include "platform/resource.h"
#include "tests/support/fake_library.h"
#include "tests/support/modal.h"
#include "tests/support/running_emulator.h"
#include "ui/azu_quorvane_config_dlg.h"
#include "ui/discover_servers.h"

namespace azu {
namespace {

class ServerSearchEndToEndTest : public testing::Test {
 protected:
  void SetUp() override {
    ProcessTextTable().Load(platform::FindRawResource(platform::kTextTableResourceId), "en");
    for (int attempt = 0; attempt < 5 && !AllStarted(); ++attempt) {
      emulators.clear();
      Start("127.0.0.2:0", "zorne-b", "QV5020");
      if (!emulators.back()->Started()) break;
      const std::string port = std::to_string(emulators.back()->Port());
      Start("127.0.0.3:" + port, "zorne-a", "QV5010");
      Start("127.0.0.4:" + port, "zorne-c", "QV4010");
    }
    ASSERT_TRUE(AllStarted()) << emulators.back()->Error();
    // Only these three loopback addresses are asked, never the network.
    setenv("VIREO_DISCOVERY_TARGETS", "127.0.0.2,127.0.0.3,127.0.0.4", 1);
    setenv("VIREO_PORT", std::to_string(emulators.front()->Port()).c_str(), 1);
    ASSERT_TRUE(window.Create(nullptr));
    QtWidget(window.Window())->show();
  }
  void TearDown() override {
    setenv("VIREO_DISCOVERY_TARGETS", "127.0.0.9", 1);
    unsetenv("VIREO_PORT");
  }

  void Start(const std::string& listen, const std::string& name, const std::string& model) {
    test::EmulatorOptions options;
    options.listen = listen;
    options.name = name;
    options.model = model;
    emulators.push_back(std::make_unique<test::RunningEmulator>(options));
  }
  [[nodiscard]] bool AllStarted() const {
    if (emulators.size() != 3) return false;
    for (const auto& emulator : emulators) {
      if (!emulator->Started()) return false;
    }
    return true;
  }
  // Runs Search..., picks the entry `pick` of the list (-1: none) and presses OK; gives the list.
  QStringList Search(int pick) {
    QStringList listed;
    test::WhenModalShown([&listed, pick](QWidget* dialog) {
      auto* list = dialog->findChild<QTreeWidget*>(ControlName(1001));
      for (int i = 0; i < list->topLevelItemCount(); ++i) listed << list->topLevelItem(i)->text(0);
      if (pick >= 0 && pick < list->topLevelItemCount()) {
        list->setCurrentItem(list->topLevelItem(pick));
      }
      QTest::mouseClick(dialog->findChild<QPushButton*>(ControlName(1)), Qt::LeftButton);
    });
    QTest::mouseClick(QtWidget(window.Window())->findChild<QPushButton*>(ControlName(1019)),
                      Qt::LeftButton);
    return listed;
  }
  QLineEdit* ServerField() {
    return QtWidget(window.Window())->findChild<QLineEdit*>(ControlName(1018));
  }

  std::vector<std::unique_ptr<test::RunningEmulator>> emulators;
  test::FakeLibrary library;
  RecordingMessageSink recorder;
  ScopedMessageSink installed{recorder};
  // The program's discovery, with a one-second limit to keep the test short.
  CAzuQuorvaneConfigDlg window{PageServices{library, [] { return std::optional<std::string>(); }},
                               [](DiscoveredServer* records, int capacity, int* count) {
                                 DiscoverServers(1, records, capacity, count);
                               }};
};

TEST_F(ServerSearchEndToEndTest, ListsTheSeriesServersSortedAndFillsInTheChosenAddress) {
  const QStringList listed = Search(1);
  EXPECT_EQ(listed, (QStringList{"127.0.0.2 zorne-b(QV5020)", "127.0.0.3 zorne-a(QV5010)"}));
  EXPECT_EQ(ServerField()->text(), QStringLiteral("127.0.0.3"));
}

TEST_F(ServerSearchEndToEndTest, AnotherSeriesListsItsOwnServerOnly) {
  auto* series = QtWidget(window.Window())->findChild<QComboBox*>(ControlName(1041));
  series->setCurrentIndex(1);
  emit series->activated(1);
  const QStringList listed = Search(0);
  EXPECT_EQ(listed, QStringList{"127.0.0.4 zorne-c(QV4010)"});
  EXPECT_EQ(ServerField()->text(), QStringLiteral("127.0.0.4"));
}

// The library hands names in UTF-8; the records keep them in Windows-1252, as every text shown.
TEST(ServerDiscoveryEndToEnd, RecordsTheNameInWindows1252) {
  test::EmulatorOptions options;
  options.listen = "127.0.0.5:0";
  options.name = "B\xC3\xBCro";
  const test::RunningEmulator emulator(options);
  ASSERT_TRUE(emulator.Started()) << emulator.Error();
  setenv("VIREO_DISCOVERY_TARGETS", "127.0.0.5", 1);
  setenv("VIREO_PORT", std::to_string(emulator.Port()).c_str(), 1);
  std::array<DiscoveredServer, 2> records{};
  int count = 0;
  DiscoverServers(1, records.data(), static_cast<int>(records.size()), &count);
  setenv("VIREO_DISCOVERY_TARGETS", "127.0.0.9", 1);
  unsetenv("VIREO_PORT");
  ASSERT_EQ(count, 1);
  EXPECT_STREQ(records[0].name.data(), "B\xFCro");
}

}  // namespace
}  // namespace azu
