// Files as the service serves them: paths, symlinks, atomic and conditional stores, limits.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <thread>

#include "emulator/digest.h"
#include "tests/emulator/service_fixture.h"

namespace azu::emulator::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class FileServiceTest : public ServiceTest {
 protected:
  std::string Quoted(const std::string& content) { return "\"" + HexOf(Sha256(content)) + "\""; }

  mode_t ModeOf(const fs::path& file) {
    struct stat info {};
    EXPECT_EQ(::stat(file.c_str(), &info), 0) << file;
    return info.st_mode & 07777;
  }

  // The names in `folder`, to see that no temporary file stayed behind.
  std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  const std::string token_ = Login();
};

TEST_F(FileServiceTest, StoredFilesComeBackByteExact) {
  static constexpr char kContent[] = "[net]\r\nip=10.1.2.3\r\n\0\xFF\r\nend";
  const std::string content(kContent, sizeof kContent - 1);
  const Response put = Handle(FileRequest("PUT", "/not-scsi0/conf/net/ip.ini", token_, content));
  EXPECT_EQ(put.status, 204);
  EXPECT_EQ(put.etag, Quoted(content));
  EXPECT_EQ(ReadFile(root_ / "azu/server/conf/net/ip.ini"), content);

  for (const char* path : {"/not-scsi0/conf/net/ip.ini", "/harddisk2/azu/server/conf/net/ip.ini"}) {
    const Response get = Handle(FileRequest("GET", path, token_));
    EXPECT_EQ(get.status, 200) << path;
    EXPECT_EQ(get.body, content) << path;
    EXPECT_EQ(get.etag, Quoted(content)) << path;
  }
  EXPECT_EQ(Handle(FileRequest("PUT", "/harddisk2/empty", token_, "")).status, 204);
  EXPECT_EQ(Handle(FileRequest("GET", "/harddisk2/empty", token_)).body, "");

  EXPECT_EQ(Handle(FileRequest("DELETE", "/not-scsi0/conf/net/ip.ini", token_)).status, 204);
  EXPECT_FALSE(fs::exists(root_ / "azu/server/conf/net/ip.ini"));
  EXPECT_EQ(Handle(FileRequest("GET", "/not-scsi0/conf/net/ip.ini", token_)).status, 404);
  EXPECT_EQ(Handle(FileRequest("DELETE", "/not-scsi0/conf/net/ip.ini", token_)).status, 404);
  EXPECT_THAT(Events(), ElementsAre("connect", "put", "get", "get", "put", "get", "delete"));
  EXPECT_THAT(LogText(), HasSubstr("put client=127.0.0.1 path=/not-scsi0/conf/net/ip.ini size=" +
                                   std::to_string(content.size())));
}

TEST_F(FileServiceTest, FoldersAreNotFiles) {
  fs::create_directories(root_ / "folder/inner");
  WriteFile(root_ / "plain", "x");
  EXPECT_EQ(Handle(FileRequest("GET", "/harddisk2/folder", token_)).status, 404);
  EXPECT_EQ(Handle(FileRequest("DELETE", "/harddisk2/folder", token_)).status, 404);
  EXPECT_EQ(Handle(FileRequest("PUT", "/harddisk2/folder", token_, "x")).status, 403);
  EXPECT_EQ(Handle(FileRequest("PUT", "/harddisk2/plain/below", token_, "x")).status, 403);
  EXPECT_EQ(Handle(FileRequest("GET", "/harddisk2/plain/below", token_)).status, 404);
  EXPECT_TRUE(fs::is_directory(root_ / "folder/inner"));
  EXPECT_EQ(ReadFile(root_ / "plain"), "x");
}

TEST_F(FileServiceTest, RefusedPathsChangeNothingAndAreLogged) {
  WriteFile(outside_ / "victim", "precious");
  WriteFile(root_ / "x", "inside");
  const std::string paths[] = {
      "/harddisk2/../outside/victim",
      "/harddisk2/../../etc/passwd",
      "/not-scsi0/../../../outside/victim",
      "/harddisk2/a/../x",
      "/harddisk2/./x",
      "/harddisk2//x",
      "/harddisk2/x/",
      "/harddisk2\\..\\outside\\victim",
      "/harddisk2/%2e%2e/outside/victim",
      "/harddisk2/..%2foutside%2fvictim",
      std::string("/harddisk2/x\0.txt", 17),
      "/harddisk2/x\n",
      "/etc/passwd",
      "harddisk2/x",
      "/harddisk3/x",
      "/harddisk2",
      "/not-scsi0/",
      "",
      "/harddisk2/.zorne/attributes",  // the emulator's own state
      "/harddisk2/.zorne/events.log",
      "/harddisk2/.zorne",
      "/harddisk2/.zorne-store-AbC123",  // someone else's unfinished store
  };
  const auto before = Snapshot(scratch_.Path() / "outside");
  const auto served = ServedFiles();
  const std::string attributes_before = ReadFile(root_ / ".zorne/attributes");
  for (const std::string& path : paths) {
    EXPECT_EQ(Handle(FileRequest("GET", path, token_)).status, 403) << path;
    EXPECT_EQ(Handle(FileRequest("PUT", path, token_, "evil")).status, 403) << path;
    EXPECT_EQ(Handle(FileRequest("DELETE", path, token_)).status, 403) << path;
    EXPECT_THAT(LastLogLine(), HasSubstr("refused client=127.0.0.1")) << path;
    EXPECT_THAT(LastLogLine(), HasSubstr("reason=path")) << path;
  }
  EXPECT_EQ(Snapshot(scratch_.Path() / "outside"), before);
  EXPECT_EQ(ServedFiles(), served);
  EXPECT_EQ(ReadFile(root_ / ".zorne/attributes"), attributes_before);
  // A refused path never reaches the log as more than one line.
  EXPECT_EQ(LogLines().size(), 1 + 3 * std::size(paths));
}

TEST_F(FileServiceTest, SymlinksDoNotLeadOutOfTheRoot) {
  WriteFile(outside_ / "secret.txt", "secret");
  WriteFile(root_ / "real.txt", "real");
  fs::create_directories(root_ / "dir");
  fs::create_directory_symlink(outside_, root_ / "out");
  fs::create_symlink(outside_ / "secret.txt", root_ / "secret");
  fs::create_symlink(outside_ / "missing.txt", root_ / "dangling");
  fs::create_directory_symlink(outside_ / "nowhere", root_ / "void");
  fs::create_directory_symlink(root_ / ".zorne", root_ / "state");
  fs::create_symlink("../real.txt", root_ / "dir/alias");
  const auto outside_before = Snapshot(outside_);

  for (const char* path :
       {"/harddisk2/secret", "/harddisk2/out/secret.txt", "/harddisk2/out/new.txt",
        "/harddisk2/dangling", "/harddisk2/state/attributes", "/harddisk2/out/deep/new.txt",
        "/harddisk2/void/new.txt"}) {
    EXPECT_EQ(Handle(FileRequest("GET", path, token_)).status, 403) << path;
    EXPECT_EQ(Handle(FileRequest("PUT", path, token_, "evil")).status, 403) << path;
  }
  EXPECT_EQ(Handle(FileRequest("DELETE", "/harddisk2/out/secret.txt", token_)).status, 403);
  EXPECT_EQ(Snapshot(outside_), outside_before);
  EXPECT_FALSE(fs::exists(root_ / ".zorne/attributes"));

  // A link that stays inside is followed; storing through it keeps the link.
  EXPECT_EQ(Handle(FileRequest("GET", "/harddisk2/dir/alias", token_)).body, "real");
  EXPECT_EQ(Handle(FileRequest("PUT", "/harddisk2/dir/alias", token_, "new")).status, 204);
  EXPECT_EQ(ReadFile(root_ / "real.txt"), "new");
  EXPECT_TRUE(fs::is_symlink(root_ / "dir/alias"));
  // Deleting a link removes the link, never what it points to.
  EXPECT_EQ(Handle(FileRequest("DELETE", "/harddisk2/secret", token_)).status, 204);
  EXPECT_FALSE(fs::is_symlink(root_ / "secret"));
  EXPECT_EQ(ReadFile(outside_ / "secret.txt"), "secret");
}

TEST_F(FileServiceTest, AStoreKeepsTheModeOfTheFileItReplaces) {
  WriteFile(root_ / "private", "old");
  fs::permissions(root_ / "private", fs::perms(0600));
  WriteFile(root_ / "script", "old");
  fs::permissions(root_ / "script", fs::perms(0750));
  for (const char* name : {"private", "script", "fresh"}) {
    EXPECT_EQ(Handle(FileRequest("PUT", std::string("/harddisk2/") + name, token_, "new")).status,
              204);
    EXPECT_EQ(ReadFile(root_ / name), "new");
  }
  EXPECT_EQ(ModeOf(root_ / "private"), 0600u);
  EXPECT_EQ(ModeOf(root_ / "script"), 0750u);
  EXPECT_EQ(ModeOf(root_ / "fresh"), 0644u);
  EXPECT_THAT(Names(root_), ElementsAre(".zorne", "fresh", "private", "script"));
}

TEST_F(FileServiceTest, AConditionalStoreNeedsTheFetchedVersion) {
  WriteFile(root_ / "conf.ini", "v1");
  const std::string fetched = Handle(FileRequest("GET", "/harddisk2/conf.ini", token_)).etag;

  Request stale = FileRequest("PUT", "/harddisk2/conf.ini", token_, "mine");
  stale.if_match = Quoted("v0");
  EXPECT_EQ(Handle(stale).status, 412);
  EXPECT_EQ(ReadFile(root_ / "conf.ini"), "v1");

  Request current = FileRequest("PUT", "/harddisk2/conf.ini", token_, "v2");
  current.if_match = fetched;
  const Response stored = Handle(current);
  EXPECT_EQ(stored.status, 204);
  EXPECT_EQ(stored.etag, Quoted("v2"));
  // The same version again is stale now: another store came in between.
  EXPECT_EQ(Handle(current).status, 412);
  EXPECT_EQ(ReadFile(root_ / "conf.ini"), "v2");

  Request gone = FileRequest("PUT", "/harddisk2/missing.ini", token_, "x");
  gone.if_match = fetched;
  EXPECT_EQ(Handle(gone).status, 412);
  EXPECT_FALSE(fs::exists(root_ / "missing.ini"));

  const std::string version = HexOf(Sha256("v2"));
  for (const std::string& malformed :
       {version, "\"" + version, "W/\"" + version + "\"", "\"" + version.substr(1) + "\"",
        "\"" + std::string(64, 'A') + "\"", std::string("*"), std::string()}) {
    Request request = FileRequest("PUT", "/harddisk2/conf.ini", token_, "x");
    request.if_match = malformed;
    EXPECT_EQ(Handle(request).status, 400) << malformed;
  }
  EXPECT_EQ(ReadFile(root_ / "conf.ini"), "v2");
  EXPECT_THAT(Names(root_), ElementsAre(".zorne", "conf.ini"));
}

TEST_F(FileServiceTest, OfConcurrentStoresOfOneVersionExactlyOneWins) {
  WriteFile(root_ / "shared.ini", "base");
  const std::string version = Quoted("base");
  constexpr int kWriters = 8;
  std::atomic<int> stored = 0;
  std::atomic<int> conflicts = 0;
  std::vector<std::thread> writers;
  for (int i = 0; i < kWriters; ++i) {
    writers.emplace_back([&, i] {
      Request request =
          FileRequest("PUT", "/harddisk2/shared.ini", token_, "writer " + std::to_string(i));
      request.if_match = version;
      const int status = service_->Handle(request).status;
      (status == 204 ? stored : conflicts)++;
    });
  }
  for (std::thread& writer : writers) writer.join();
  EXPECT_EQ(stored, 1);
  EXPECT_EQ(conflicts, kWriters - 1);
  EXPECT_THAT(ReadFile(root_ / "shared.ini"), ::testing::StartsWith("writer "));
  EXPECT_THAT(Names(root_), ElementsAre(".zorne", "shared.ini"));
}

TEST_F(FileServiceTest, ABodyOverTheLimitIsRefusedAndTheOldFileKept) {
  WriteFile(root_ / "big", "old");
  const Response refused = Handle(
      FileRequest("PUT", "/harddisk2/big", token_, std::string(FileStore::kMaxFileSize + 1, 'x')));
  EXPECT_EQ(refused.status, 413);
  EXPECT_TRUE(refused.close_connection);
  EXPECT_EQ(ReadFile(root_ / "big"), "old");
  EXPECT_THAT(Names(root_), ElementsAre(".zorne", "big"));

  // Announced too large, it is refused before a byte is read.
  Request announced = FileRequest("PUT", "/harddisk2/big", token_);
  announced.content_length = FileStore::kMaxFileSize + 1;
  announced.read_body = [](const BodySink&) -> bool {
    ADD_FAILURE() << "read an announced oversized body";
    return false;
  };
  EXPECT_EQ(Handle(announced).status, 413);
  EXPECT_EQ(ReadFile(root_ / "big"), "old");

  const std::string largest(FileStore::kMaxFileSize, 'y');
  EXPECT_EQ(Handle(FileRequest("PUT", "/harddisk2/big", token_, largest)).status, 204);
  EXPECT_EQ(Handle(FileRequest("GET", "/harddisk2/big", token_)).body.size(), largest.size());
  // A file put there by other means is not sent either.
  WriteFile(root_ / "big", largest + "z");
  EXPECT_EQ(Handle(FileRequest("GET", "/harddisk2/big", token_)).status, 413);
}

TEST_F(FileServiceTest, ACutTransferKeepsTheOldFile) {
  WriteFile(root_ / "conf.ini", "old content");
  Request cut = FileRequest("PUT", "/harddisk2/conf.ini", token_);
  cut.read_body = [](const BodySink& sink) {
    sink(std::string(3000, 'n'));
    return false;  // the connection broke
  };
  const Response response = Handle(cut);
  EXPECT_EQ(response.status, 400);
  EXPECT_TRUE(response.close_connection);
  EXPECT_EQ(ReadFile(root_ / "conf.ini"), "old content");
  EXPECT_THAT(Names(root_), ElementsAre(".zorne", "conf.ini"));
  EXPECT_THAT(LastLogLine(), HasSubstr("reason=transfer-cut"));
}

TEST_F(FileServiceTest, LeftoversOfCutOffStoresGoAtStartAndAreNeverServed) {
  WriteFile(root_ / ".zorne-store-a1B2c3", "half");
  WriteFile(root_ / "azu/server/conf/.zorne-store-XyZ987", "half");
  WriteFile(root_ / "azu/server/conf/keep.txt", "keep");
  WriteFile(root_ / ".zorne/.zorne-store-own", "state");  // the state folder is not walked
  WriteFile(outside_ / ".zorne-store-elsewhere", "not ours");
  fs::create_directory_symlink(outside_, root_ / "link");
  Restart();
  EXPECT_THAT(Names(root_ / "azu/server/conf"), ElementsAre("keep.txt"));
  EXPECT_FALSE(fs::exists(root_ / ".zorne-store-a1B2c3"));
  EXPECT_TRUE(fs::exists(root_ / ".zorne/.zorne-store-own"));
  EXPECT_TRUE(fs::exists(outside_ / ".zorne-store-elsewhere"));

  // One made while serving (another client's store in progress) is refused by its name.
  WriteFile(root_ / "azu/server/conf/.zorne-store-late", "half");
  const std::string token = Login();
  for (const char* method : {"GET", "PUT", "DELETE"}) {
    EXPECT_EQ(Handle(FileRequest(method, "/not-scsi0/conf/.zorne-store-late", token, "x")).status,
              403)
        << method;
  }
  EXPECT_EQ(ReadFile(root_ / "azu/server/conf/.zorne-store-late"), "half");
}

TEST_F(FileServiceTest, TheBodyOfARefusedRequestIsStillReadToItsEnd) {
  // Left unread, it would be taken for the next request on the same connection.
  std::size_t delivered = 0;
  Request refused = FileRequest("PUT", "/harddisk2/../x", token_);
  refused.read_body = [&delivered](const BodySink& sink) {
    for (int i = 0; i < 10; ++i) {
      if (!sink(std::string(1000, 'b'))) return false;
      delivered += 1000;
    }
    return true;
  };
  const Response response = Handle(refused);
  EXPECT_EQ(response.status, 403);
  EXPECT_FALSE(response.close_connection);
  EXPECT_EQ(delivered, 10000u);
}

TEST_F(FileServiceTest, MalformedRequestsChangeNothing) {
  WriteFile(root_ / "x", "old");
  const auto served = ServedFiles();
  struct Case {
    Request request;
    int status;
  };
  const Case cases[] = {
      {WithToken(MakeRequest("GET", "/v1/files", {{"path", "/harddisk2/x"}}), token_), 404},
      {WithToken(MakeRequest("GET", "/", {}), token_), 404},
      {WithToken(MakeRequest("POST", "/v1/file", {{"path", "/harddisk2/x"}}, "new"), token_), 405},
      {WithToken(MakeRequest("PATCH", "/v1/file", {{"path", "/harddisk2/x"}}, "new"), token_), 405},
      {WithToken(MakeRequest("PUT", "/v1/attribute"), token_), 405},
      {WithToken(MakeRequest("GET", "/v1/attribute"), token_), 400},
      {WithToken(MakeRequest("GET", "/v1/attribute", {{"name", "a b"}}), token_), 400},
      {WithToken(MakeRequest("GET", "/v1/server/reboot"), token_), 405},
      {WithToken(MakeRequest("PUT", "/v1/file", {}, "new"), token_), 400},
      {WithToken(MakeRequest("DELETE", "/v1/file", {{"name", "/harddisk2/x"}}), token_), 400},
      {WithToken(
           MakeRequest("DELETE", "/v1/file", {{"path", "/harddisk2/y"}, {"path", "/harddisk2/x"}}),
           token_),
       400},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Handle(c.request).status, c.status) << c.request.method << " " << c.request.path;
  }
  EXPECT_EQ(ServedFiles(), served);
  // Each was logged; the session is still good.
  EXPECT_EQ(Events().size(), 1 + std::size(cases));
  EXPECT_EQ(Handle(FileRequest("GET", "/harddisk2/x", token_)).body, "old");
}

}  // namespace
}  // namespace azu::emulator::test
