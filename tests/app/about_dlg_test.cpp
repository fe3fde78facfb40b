#include "app/about_dlg.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app/text_table.h"
#include "framework/message_box.h"
#include "framework/qt/qt_dialog.h"
#include "framework/qt/qt_text.h"
#include "platform/resource.h"
#include "tests/support/modal.h"

namespace azu {
namespace {

struct Shown {
  QString caption, version, copyright, ok;
};

Shown RunAboutBox(const char* language) {
  ProcessTextTable().Load(platform::FindRawResource(platform::kTextTableResourceId), language);
  Shown shown;
  test::WhenModalShown([&shown](QWidget* window) {
    shown.caption = window->windowTitle();
    shown.version = window->findChild<QLabel*>(QStringLiteral("id1036"))->text();
    shown.copyright = window->findChild<QLabel*>(QStringLiteral("id1037"))->text();
    auto* ok = window->findChild<QPushButton*>(QStringLiteral("id1"));
    shown.ok = ok->text();
    QTest::mouseClick(ok, Qt::LeftButton);
  });
  CAboutDlg dialog;
  EXPECT_EQ(dialog.DoModal(), IDOK);
  return shown;
}

TEST(AboutBox, ShowsVersionCopyrightAndOkFromTheTableUnderTheResourceCaption) {
  const Shown english = RunAboutBox("en");
  EXPECT_EQ(english.caption, QStringLiteral("About Azu Quorvane Config"));
  EXPECT_EQ(english.version, QStringLiteral("Azu Quorvane Config Version 1.7"));
  EXPECT_TRUE(english.copyright.startsWith(QStringLiteral("Copyright")));
  EXPECT_EQ(english.ok, QStringLiteral("OK"));

  const Shown german = RunAboutBox("de");
  EXPECT_EQ(german.caption, english.caption);  // the caption is the resource's, not the table's
  EXPECT_EQ(german.version, FromCp1252(GetText("M_ABOUT_VERSION")));
  ProcessTextTable().Load(platform::FindRawResource(platform::kTextTableResourceId), "en");
}

}  // namespace
}  // namespace azu
