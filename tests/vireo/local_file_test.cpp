#include "vireo/local_file.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/environment.h"

namespace azu::vireo {
namespace {

namespace fs = std::filesystem;

// A fresh folder per test, removed afterwards.
class VireoLocalFile : public ::testing::Test {
 protected:
  void SetUp() override { folder_ = test::MakeTempFolder("vireo-local-"); }
  void TearDown() override { fs::remove_all(folder_); }

  static std::string Content(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static void Write(const fs::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
  }
  [[nodiscard]] std::size_t Entries() const {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
  }

  fs::path folder_;
};

TEST_F(VireoLocalFile, WritesWholeContentReplacingTheOldFile) {
  const fs::path path = folder_ / "config.txt";
  Write(path, "old content that is longer");
  const std::string content = std::string("line 1\r\nline 2\r\n\0\xFF", 18);
  ASSERT_TRUE(WriteLocalFileWhole(path.string(), content));
  EXPECT_EQ(Content(path), content);
  EXPECT_EQ(Entries(), 1U);  // no temporary left beside it
#ifndef _WIN32
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600U);
#endif

  ASSERT_TRUE(WriteLocalFileWhole(path.string(), ""));
  EXPECT_EQ(Content(path), "");
}

TEST_F(VireoLocalFile, FailedWriteLeavesNothing) {
  EXPECT_FALSE(WriteLocalFileWhole((folder_ / "missing" / "config.txt").string(), "x"));
  // The target is a folder: the rename fails and the temporary goes.
  fs::create_directory(folder_ / "taken");
  Write(folder_ / "taken" / "inside", "kept");
  EXPECT_FALSE(WriteLocalFileWhole((folder_ / "taken").string(), "x"));
  EXPECT_EQ(Entries(), 1U);
  EXPECT_EQ(Content(folder_ / "taken" / "inside"), "kept");
  EXPECT_FALSE(WriteLocalFileWhole("", "x"));
#ifndef _WIN32
  // A fifo (or a device) named as the local file is never moved aside for a regular file.
  const fs::path fifo = folder_ / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(WriteLocalFileWhole(fifo.string(), "x"));
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_EQ(Entries(), 2U);
#endif
}

// What a transfer sends: the source read to its end.
LocalRead ReadLocalFile(const std::string& path, std::size_t max_bytes, std::string& content) {
  content.clear();
  LocalRead status = LocalRead::kUnreadable;
  const std::unique_ptr<LocalFileSource> source = LocalFileSource::Open(path, max_bytes, status);
  char buffer[4];
  while (source) {
    const std::optional<std::size_t> got = source->Read(buffer, sizeof buffer);
    if (!got) return LocalRead::kUnreadable;
    if (*got == 0) break;
    content.append(buffer, *got);
  }
  return status;
}

TEST_F(VireoLocalFile, ReadsWholeFilesWithinTheLimit) {
  const fs::path path = folder_ / "in.txt";
  const std::string content = std::string("a\r\nb\0c", 6);
  Write(path, content);
  std::string read;
  EXPECT_EQ(ReadLocalFile(path.string(), 6, read), LocalRead::kOk);
  EXPECT_EQ(read, content);
  EXPECT_EQ(ReadLocalFile(path.string(), 5, read), LocalRead::kTooLarge);
  EXPECT_EQ(ReadLocalFile((folder_ / "none").string(), 100, read), LocalRead::kUnreadable);
  EXPECT_EQ(ReadLocalFile(folder_.string(), 100, read), LocalRead::kUnreadable);
  Write(folder_ / "empty", "");
  EXPECT_EQ(ReadLocalFile((folder_ / "empty").string(), 0, read), LocalRead::kOk);
  EXPECT_EQ(read, "");
}

}  // namespace
}  // namespace azu::vireo
