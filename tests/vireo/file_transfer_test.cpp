// File transfer through the C interface, against a real zorne-emulator.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "server/vireo.h"
#include "tests/support/running_emulator.h"
#include "tests/vireo/client_support.h"

namespace azu::test {
namespace {

constexpr std::size_t kLimit = std::size_t{16} * 1024 * 1024;

// One emulator, one connection with a file session, and a local folder.
class VireoFileTransfer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(emulator_.Started()) << emulator_.Error();
    ASSERT_EQ(client_.Status(), VIREO_OK);
    files_ = client_.OpenFiles();
  }

  VIREO_STATUS Get(const std::string& server_path, const std::string& local_path) {
    return FT_getFile(&files_, server_path.c_str(), local_path.c_str(), 0);
  }
  VIREO_STATUS Put(const std::string& local_path, const std::string& server_path) {
    return FT_putFile(&files_, local_path.c_str(), server_path.c_str(), 0);
  }
  [[nodiscard]] long EventCount(const std::string& event) const {
    const auto events = emulator_.Events();
    return std::count(events.begin(), events.end(), event);
  }
  [[nodiscard]] std::vector<std::string> LocalNames() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(local_.Path())) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  RunningEmulator emulator_;
  ClientConnection client_{emulator_};
  VIREO_FT_SESSION files_{};
  ScratchFolder local_;
};

TEST_F(VireoFileTransfer, GetPutAndDeleteKeepContentByteExact) {
  const std::string config = "[Queue]\r\nName=Lab 2\r\n\r\nHold=1\r\n";
  ASSERT_TRUE(emulator_.WriteServerFile("/not-scsi0/azu/config.ini", config));
  const std::string fetched = local_.File("config.ini");
  ASSERT_EQ(Get("/not-scsi0/azu/config.ini", fetched), VIREO_OK);
  EXPECT_EQ(ReadLocal(fetched), config);

  // Query characters and bytes beyond ASCII in the path; CR LF, NUL and 0xFF in the content.
  const std::string content = std::string("x=\xE9\r\ny=2\r\n\0\xFF\r\n", 13);
  const std::string server_path = "/harddisk2/azu/new file+1 & a=b?\xC3\xA9#.txt";
  const std::string outgoing = local_.File("outgoing.txt");
  WriteLocal(outgoing, content);
  ASSERT_EQ(Put(outgoing, server_path), VIREO_OK);
  EXPECT_EQ(emulator_.ReadServerFile(server_path), content);
  const std::string back = local_.File("back.txt");
  ASSERT_EQ(Get(server_path, back), VIREO_OK);
  EXPECT_EQ(ReadLocal(back), content);

  const std::string empty = local_.File("empty.txt");
  WriteLocal(empty, "");
  ASSERT_EQ(Put(empty, "/not-scsi0/azu/empty.txt"), VIREO_OK);
  EXPECT_EQ(emulator_.ReadServerFile("/not-scsi0/azu/empty.txt"), "");

  ASSERT_EQ(FT_delete(&files_, server_path.c_str(), 0), VIREO_OK);
  EXPECT_EQ(emulator_.ReadServerFile(server_path), std::nullopt);
  EXPECT_EQ(FT_delete(&files_, server_path.c_str(), 0), VIREO_E_NOT_FOUND);
  EXPECT_EQ(Get(server_path, back), VIREO_E_NOT_FOUND);
  EXPECT_EQ(EventCount("get"), 2);
  EXPECT_EQ(EventCount("put"), 2);
  EXPECT_EQ(EventCount("delete"), 1);
}

TEST_F(VireoFileTransfer, PathsOutsideTheRootsOrMalformedAreRefused) {
  const std::string outgoing = local_.File("outgoing.txt");
  WriteLocal(outgoing, "intruder");
  for (const char* path :
       {"/etc/zorne.txt", "/not-scsi0/../escape.txt", "/harddisk2/a/../../b",
        "not-scsi0/relative.txt", "/harddisk3/x.txt", "/not-scsi0", "/not-scsi0/a%2e%2e/b.txt"}) {
    EXPECT_EQ(Put(outgoing, path), VIREO_E_PATH) << path;
    EXPECT_EQ(Get(path, local_.File("in.txt")), VIREO_E_PATH) << path;
    EXPECT_EQ(FT_delete(&files_, path, 0), VIREO_E_PATH) << path;
  }
  EXPECT_EQ(EventCount("put"), 0);
  EXPECT_EQ(LocalNames(), std::vector<std::string>{"outgoing.txt"});
}

TEST_F(VireoFileTransfer, LocalFileIsWrittenOnlyForAWholeTransfer) {
  const std::string mine = local_.File("mine.txt");
  WriteLocal(mine, "my own\r\n");
  EXPECT_EQ(Get("/not-scsi0/missing.txt", mine), VIREO_E_NOT_FOUND);
  EXPECT_EQ(Get("/tmp/outside.txt", mine), VIREO_E_PATH);
  EXPECT_EQ(ReadLocal(mine), "my own\r\n");

  ASSERT_TRUE(emulator_.WriteServerFile("/not-scsi0/a.txt", "server\r\n"));
  EXPECT_EQ(Get("/not-scsi0/a.txt", local_.File("no-folder/a.txt")), VIREO_E_LOCAL_FILE);
  EXPECT_EQ(Get("/not-scsi0/a.txt", local_.Path().string()), VIREO_E_LOCAL_FILE);
  EXPECT_EQ(LocalNames(), std::vector<std::string>{"mine.txt"});

  ASSERT_EQ(Get("/not-scsi0/a.txt", mine), VIREO_OK);
  EXPECT_EQ(ReadLocal(mine), "server\r\n");
}

TEST_F(VireoFileTransfer, LocalFilesThatCannotBeSentAreRefusedBeforeSending) {
  EXPECT_EQ(Put(local_.File("none.txt"), "/not-scsi0/a.txt"), VIREO_E_LOCAL_FILE);
  EXPECT_EQ(Put(local_.Path().string(), "/not-scsi0/a.txt"), VIREO_E_LOCAL_FILE);

  const std::string big = local_.File("big.bin");
  WriteLocal(big, std::string(kLimit + 1, 'b'));
  EXPECT_EQ(Put(big, "/not-scsi0/big.bin"), VIREO_E_TOO_LARGE);
  EXPECT_EQ(EventCount("put"), 0);

  std::string largest(kLimit, 'l');
  largest.replace(0, 2, "\r\n");
  WriteLocal(big, largest);
  ASSERT_EQ(Put(big, "/not-scsi0/big.bin"), VIREO_OK);
  EXPECT_EQ(emulator_.ReadServerFile("/not-scsi0/big.bin"), largest);
}

TEST_F(VireoFileTransfer, StaleStoreIsRefusedAfterAnotherClientsStore) {
  const std::string path = "/not-scsi0/azu/queues.ini";
  ASSERT_TRUE(emulator_.WriteServerFile(path, "v1\r\n"));
  const std::string mine = local_.File("mine.ini");
  const std::string theirs = local_.File("theirs.ini");
  ASSERT_EQ(Get(path, mine), VIREO_OK);

  // Another administrator fetches and stores in between.
  ClientConnection other(emulator_);
  ASSERT_EQ(other.Status(), VIREO_OK);
  VIREO_FT_SESSION other_files = other.OpenFiles();
  ASSERT_EQ(FT_getFile(&other_files, path.c_str(), theirs.c_str(), 0), VIREO_OK);
  WriteLocal(theirs, "v2 theirs\r\n");
  ASSERT_EQ(FT_putFile(&other_files, theirs.c_str(), path.c_str(), 0), VIREO_OK);

  WriteLocal(mine, "v2 mine\r\n");
  EXPECT_EQ(Put(mine, path), VIREO_E_CONFLICT);
  EXPECT_EQ(emulator_.ReadServerFile(path), "v2 theirs\r\n");
  EXPECT_EQ(Put(mine, path), VIREO_E_CONFLICT);  // still stale until fetched again

  // Their own consecutive stores go through: each store's version guards the next.
  WriteLocal(theirs, "v3 theirs\r\n");
  ASSERT_EQ(FT_putFile(&other_files, theirs.c_str(), path.c_str(), 0), VIREO_OK);

  ASSERT_EQ(Get(path, mine), VIREO_OK);
  EXPECT_EQ(ReadLocal(mine), "v3 theirs\r\n");
  WriteLocal(mine, "v4 mine\r\n");
  ASSERT_EQ(Put(mine, path), VIREO_OK);
  EXPECT_EQ(emulator_.ReadServerFile(path), "v4 mine\r\n");
  EXPECT_EQ(FT_putFile(&other_files, theirs.c_str(), path.c_str(), 0), VIREO_E_CONFLICT);
  EXPECT_EQ(emulator_.ReadServerFile(path), "v4 mine\r\n");
}

TEST_F(VireoFileTransfer, StoreOfAFetchedFileDeletedMeanwhileIsRefused) {
  const std::string path = "/harddisk2/azu/hold.ini";
  ASSERT_TRUE(emulator_.WriteServerFile(path, "v1"));
  const std::string mine = local_.File("mine.ini");
  ASSERT_EQ(Get(path, mine), VIREO_OK);

  ClientConnection other(emulator_);
  VIREO_FT_SESSION other_files = other.OpenFiles();
  ASSERT_EQ(FT_delete(&other_files, path.c_str(), 0), VIREO_OK);
  EXPECT_EQ(Put(mine, path), VIREO_E_CONFLICT);
  EXPECT_EQ(emulator_.ReadServerFile(path), std::nullopt);

  // A session's own delete leaves nothing to guard: its next store creates the file.
  ASSERT_TRUE(emulator_.WriteServerFile(path, "v2"));
  ASSERT_EQ(Get(path, mine), VIREO_OK);
  ASSERT_EQ(FT_delete(&files_, path.c_str(), 0), VIREO_OK);
  ASSERT_EQ(Put(mine, path), VIREO_OK);
  EXPECT_EQ(emulator_.ReadServerFile(path), "v2");
}

TEST_F(VireoFileTransfer, OnlyTheFetchingSessionIsGuarded) {
  const std::string path = "/not-scsi0/azu/a.ini";
  ASSERT_TRUE(emulator_.WriteServerFile(path, "v1"));
  const std::string local = local_.File("a.ini");
  ASSERT_EQ(Get(path, local), VIREO_OK);

  // A session that never fetched the file replaces it as it is.
  VIREO_FT_SESSION fresh = client_.OpenFiles();
  WriteLocal(local, "v2");
  ASSERT_EQ(FT_putFile(&fresh, local.c_str(), path.c_str(), 0), VIREO_OK);
  EXPECT_EQ(Put(local, path), VIREO_E_CONFLICT);
  EXPECT_EQ(FT_closeSession(&fresh, 0), VIREO_OK);
}

}  // namespace
}  // namespace azu::test
