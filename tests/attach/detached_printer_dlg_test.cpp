// The attachment state on a temporary drive: local paths, key and address edits of working
// copies, the state files and markers, and the working copies themselves.

#include "attach/detached_printer_dlg.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "app/text_table.h"
#include "framework/recording_message_sink.h"
#include "platform/resource.h"
#include "tests/attach/attach_fakes.h"
#include "tests/attach/drive_root.h"
#include "tests/support/temp_folder.h"

namespace azu {
namespace {

class DetachedPrinterTest : public testing::Test {
 protected:
  void SetUp() override {
    ProcessTextTable().Load(platform::FindRawResource(platform::kTextTableResourceId), "en");
    drive.Write("/not-scsi0/config_files/.keep", "");
  }
  // A working copy holding `content`.
  const std::string& Copy(int row, std::string_view content) {
    std::ofstream(state.WorkingCopy(row), std::ios::binary | std::ios::trunc) << content;
    return state.WorkingCopy(row);
  }
  static std::string Content(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
  }

  test::TempFolderScope temp;
  test::DriveRoot drive;
  test::FailingFiles files{drive.Root()};
  CDetachedPrinterDlg state{drive.Root(), files};
  RecordingMessageSink recorder;
  ScopedMessageSink installed{recorder};
};

TEST_F(DetachedPrinterTest, LocalPathPutsTheSystemRootUnderAzuServerAndTheDataRootAtTheTop) {
  const std::string root = drive.Root();
  EXPECT_EQ(state.LocalPath("/not-scsi0/dev0/maj_0.cfg"), root + "/azu/server/dev0/maj_0.cfg");
  EXPECT_EQ(state.LocalPath("/harddisk2/home/template/(ColorCal).xst"),
            root + "/home/template/(ColorCal).xst");
  EXPECT_EQ(state.LocalPath("/tmp/azu1234"), "/tmp/azu1234");  // a temporary name stays
  // A drive that itself looks like a server path is not rewritten again.
  const CDetachedPrinterDlg odd("/harddisk2/not-scsi0", files);
  EXPECT_EQ(odd.LocalPath("/not-scsi0/x"), "/harddisk2/not-scsi0/azu/server/x");
}

TEST_F(DetachedPrinterTest, SetKeyInFileRewritesTheKeyInAnyCaseAndKeepsItsSpelling) {
  const std::string& copy =
      Copy(0, "Name=zorne\nurl=10.0.0.1\n\nURL =10.0.0.2\nURL\nUrl=10.0.0.3=x\nlast=1");
  ASSERT_TRUE(state.SetKeyInFile(copy, "URL", "100.100.100.101"));
  EXPECT_EQ(Content(copy),
            "Name=zorne\r\nurl=100.100.100.101\r\n\r\nURL =10.0.0.2\r\nURL=100.100.100.101\r\n"
            "Url=100.100.100.101\r\nlast=1\r\n");
  EXPECT_TRUE(recorder.Boxes().empty());
}

TEST_F(DetachedPrinterTest, SetKeyInFileWithoutTheKeyAddsNoLine) {
  const std::string& copy = Copy(0, "a=1\r\nb=2\n");
  ASSERT_TRUE(state.SetKeyInFile(copy, "URL", "x"));
  EXPECT_EQ(Content(copy), "a=1\r\nb=2\r\n");
}

TEST_F(DetachedPrinterTest, ReplaceInFileReplacesEveryOccurrenceAndLeavesOtherFilesAlone) {
  const std::string& copy = Copy(3, "a 100.100.100.101\n100.100.100.101100.100.100.101\n");
  ASSERT_TRUE(state.ReplaceInFile(copy, "100.100.100.101", "10.0.0.7"));
  EXPECT_EQ(Content(copy), "a 10.0.0.7\r\n10.0.0.710.0.0.7\r\n");
  const std::string& untouched = Copy(4, "nothing to do\n");
  ASSERT_TRUE(state.ReplaceInFile(untouched, "100.100.100.101", "10.0.0.7"));
  EXPECT_EQ(Content(untouched), "nothing to do\n");  // not rewritten: still a bare LF
}

TEST_F(DetachedPrinterTest, EditFailuresAreShownWithTheirCodes) {
  EXPECT_FALSE(state.SetKeyInFile(drive.Root() + "/missing", "URL", "x"));
  EXPECT_FALSE(state.ReplaceInFile(drive.Root() + "/missing", "a", "b"));
  const std::string& copy = Copy(0, "URL=1\n");
  files.failReplace = [&](const std::string& path) { return path == copy; };
  EXPECT_FALSE(state.SetKeyInFile(copy, "URL", "x"));
  EXPECT_FALSE(state.ReplaceInFile(copy, "1", "2"));
  EXPECT_EQ(Content(copy), "URL=1\n");
  ASSERT_EQ(recorder.Boxes().size(), 4U);
  EXPECT_EQ(recorder.Boxes()[0].text, "Zorne Printer address not set: Open (2)");
  EXPECT_EQ(recorder.Boxes()[1].text, "Zorne Printer address not set: Open (2)");
  EXPECT_EQ(recorder.Boxes()[2].text, "Zorne Printer address not set: Open #2 (5)");
  EXPECT_EQ(recorder.Boxes()[3].text, "Zorne Printer address not set: Open #2 (5)");
  for (const auto& box : recorder.Boxes()) EXPECT_EQ(box.type, kErrorBox);
}

TEST_F(DetachedPrinterTest, NetworkEditWritesBothAddressesIntoRowsThreeToTwelveOnly) {
  drive.SeedLiveFiles("100.100.100.101");
  drive.SeedVariants();
  state.EnsureLocalCompanions();
  state.SetPrinterAddress("10.0.0.7");
  state.SetServerAddress("10.0.0.5");
  ASSERT_EQ(state.CopyFileSetLocal(AttachmentMode::NetworkSwitch), kFileSetRows);
  ASSERT_EQ(state.EditFileSet(AttachmentMode::NetworkSwitch), kFileSetRows);
  EXPECT_EQ(Content(state.WorkingCopy(0)), "Name=zorne\r\nURL=10.0.0.7\r\nSNMP=1\r\n");
  EXPECT_EQ(Content(state.WorkingCopy(1)), "network 1\n");
  for (int row = kFirstAddressRow; row < kFileSetRows; ++row) {
    EXPECT_EQ(Content(state.WorkingCopy(row)),
              "row " + std::to_string(row) +
                  "\r\nprinter=10.0.0.7\r\nserver=10.0.0.5\r\nprinter again 10.0.0.7\r\n");
  }
}

TEST_F(DetachedPrinterTest, PrinterAtTheServersFixedAddressEndsUpAsTheServer) {
  drive.SeedLiveFiles("100.100.100.101");
  drive.SeedVariants();
  state.SetPrinterAddress("100.100.100.102");
  state.SetServerAddress("10.0.0.5");
  ASSERT_EQ(state.CopyFileSetLocal(AttachmentMode::NetworkSwitch), kFileSetRows);
  ASSERT_EQ(state.EditFileSet(AttachmentMode::NetworkSwitch), kFileSetRows);
  EXPECT_EQ(Content(state.WorkingCopy(5)),
            "row 5\r\nprinter=10.0.0.5\r\nserver=10.0.0.5\r\nprinter again 10.0.0.5\r\n");
}

TEST_F(DetachedPrinterTest, DirectEditTouchesOnlyTheUrl) {
  drive.SeedLiveFiles("10.0.0.7");
  drive.SeedVariants();
  state.SetPrinterAddress("100.100.100.101");
  ASSERT_EQ(state.CopyFileSetLocal(AttachmentMode::DirectConnection), kFileSetRows);
  ASSERT_EQ(state.EditFileSet(AttachmentMode::DirectConnection), kFileSetRows);
  EXPECT_EQ(Content(state.WorkingCopy(0)), "Name=zorne\r\nURL=100.100.100.101\r\nSNMP=1\r\n");
  EXPECT_EQ(Content(state.WorkingCopy(2)), "direct 2\n");
  EXPECT_EQ(Content(state.WorkingCopy(12)), test::DriveRoot::TemplateContent(12));
}

TEST_F(DetachedPrinterTest, EnsureLocalCompanionsSavesMissingVariantsOnly) {
  drive.SeedLiveFiles("100.100.100.101");
  drive.Write(kDirectSet + 1, "kept");
  state.EnsureLocalCompanions();
  EXPECT_EQ(drive.Read(kDirectSet + 1), "kept");
  EXPECT_EQ(drive.Read(kNetworkSet + 1), test::DriveRoot::LiveContent(1));
  EXPECT_EQ(drive.Read(kDirectSet + 2), test::DriveRoot::LiveContent(2));
  EXPECT_EQ(drive.Read(kDirectSet + 12), test::DriveRoot::LiveContent(12));
  drive.Write(kLiveSet + 12, "changed later");
  state.EnsureLocalCompanions();
  EXPECT_EQ(drive.Read(kDirectSet + 12), test::DriveRoot::LiveContent(12));
}

TEST_F(DetachedPrinterTest, ReadPrinterAddressTakesTheFirstUrlLineTrimmed) {
  EXPECT_FALSE(state.ReadPrinterAddress());
  drive.Write(kLiveSet, "a=1\r\n  url=10.0.0.7  \r\nURL=10.0.0.8\r\n");
  EXPECT_TRUE(state.ReadPrinterAddress());
  EXPECT_EQ(state.PrinterAddress(), "10.0.0.7");
  drive.Write(kLiveSet, "URL =10.0.0.9\nother=1\n");
  EXPECT_TRUE(state.ReadPrinterAddress());
  EXPECT_EQ(state.PrinterAddress(), "10.0.0.7");  // no URL key: the old value stays
}

TEST_F(DetachedPrinterTest, PrinterMacIsReadTrimmedAndWrittenWithoutLineEnd) {
  EXPECT_FALSE(state.ReadPrinterMac());
  EXPECT_FALSE(state.WritePrinterMac());  // nothing to write
  EXPECT_FALSE(drive.Exists(kPrinterMacFile));
  state.SetPrinterMac("00:1b:2c:3d:4e:5f");
  EXPECT_TRUE(state.WritePrinterMac());
  EXPECT_EQ(drive.Read(kPrinterMacFile), "00:1b:2c:3d:4e:5f");
  drive.Write(kPrinterMacFile, " aa:bb:cc:dd:ee:ff \r\nsecond\r\n");
  EXPECT_TRUE(state.ReadPrinterMac());
  EXPECT_EQ(state.PrinterMac(), "aa:bb:cc:dd:ee:ff");
  drive.Write(kPrinterMacFile, "");
  EXPECT_TRUE(state.ReadPrinterMac());
  EXPECT_EQ(state.PrinterMac(), "");
}

TEST_F(DetachedPrinterTest, LogListsTheAddressesAndEveryRecordInTextMode) {
  std::vector<PrinterAddressRecord> records(5);
  int count = 0;
  AppendRecord(records, count, "100.100.100.102", "100.100.100.101", "00:1b:2c:3d:4e:5f");
  AppendRecord(records, count, "198.51.100.2", "198.51.100.7", "00:1b:2c:3d:4e:60");
  state.SetPrinterAddress("100.100.100.101");
  state.SetPrinterMac("00:1b:2c:3d:4e:5f");
  ASSERT_TRUE(state.WriteAttachmentLog(records, count));
  EXPECT_EQ(drive.Read(kAttachmentLog),
            "PrinterIP=100.100.100.101\r\nPrinterMAC=00:1b:2c:3d:4e:5f\r\nMACAddresses:2\r\n"
            "100.100.100.102 100.100.100.101 00:1b:2c:3d:4e:5f\r\n"
            "198.51.100.2 198.51.100.7 00:1b:2c:3d:4e:60\r\n");
}

TEST_F(DetachedPrinterTest, MarkersAreMadeEmptyAndAnEmptyExitMarkerIsConsumed) {
  drive.Write("/not-scsi0/tmp/.keep", "");
  drive.Write(kActiveMarker, "stale");
  EXPECT_TRUE(state.TouchActiveMarker());
  EXPECT_TRUE(state.TouchChangedMarker());
  EXPECT_EQ(drive.Read(kActiveMarker), "");
  EXPECT_EQ(drive.Read(kChangedMarker), "");

  EXPECT_FALSE(state.CheckExitMarker());
  drive.Write(kExitMarker, "");
  EXPECT_TRUE(state.CheckExitMarker());
  EXPECT_FALSE(drive.Exists(kExitMarker));
  drive.Write(kExitMarker, "stop");
  EXPECT_TRUE(state.CheckExitMarker());
  EXPECT_TRUE(state.CheckExitMarker());
  EXPECT_TRUE(drive.Exists(kExitMarker));
}

TEST_F(DetachedPrinterTest, StateFilesAreReplacedWholeAndLeaveNoTemporaryFileBehind) {
  drive.Write("/not-scsi0/tmp/.keep", "");
  state.SetPrinterMac("00:1b:2c:3d:4e:5f");
  files.failReplace = [](const std::string&) { return true; };
  drive.Write(kPrinterMacFile, "aa:bb:cc:dd:ee:ff");
  EXPECT_FALSE(state.WritePrinterMac());
  EXPECT_FALSE(state.TouchActiveMarker());
  EXPECT_EQ(drive.Read(kPrinterMacFile), "aa:bb:cc:dd:ee:ff");
  files.failReplace = nullptr;
  EXPECT_TRUE(state.WritePrinterMac());
  EXPECT_TRUE(state.TouchActiveMarker());
  for (const auto& entry : std::filesystem::recursive_directory_iterator(drive.Root())) {
    EXPECT_EQ(entry.path().filename().string().find(".azu"), std::string::npos) << entry.path();
  }
}

TEST(DetachedPrinterWorkingCopies, AreThirteenOwnerOnlyFilesDeletedWithTheState) {
  const test::DriveRoot drive;  // made before TEMP points into the folder under watch
  const test::TempFolderScope temp;
  std::vector<std::string> paths;
  {
    const auto files = MakeSystemFiles(drive.Root(), nullptr);
    const CDetachedPrinterDlg state(drive.Root(), *files);
    for (int row = 0; row < kFileSetRows; ++row) {
      const std::string& path = state.WorkingCopy(row);
      EXPECT_EQ(std::filesystem::path(path).parent_path(), temp.Path());
      struct stat info {};
      ASSERT_EQ(stat(path.c_str(), &info), 0);
      EXPECT_EQ(info.st_mode & 0777, 0600U);
      paths.push_back(path);
    }
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ(std::unique(paths.begin(), paths.end()), paths.end());
  }
  EXPECT_EQ(temp.Files(), std::vector<std::string>{});
}

}  // namespace
}  // namespace azu
