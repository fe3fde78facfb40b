// Login, sessions, reboot and restart as the service handles them.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/emulator/service_fixture.h"

namespace azu::emulator::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::MatchesRegex;
using ::testing::Not;

Request Reboot(const std::string& token) {
  return WithToken(MakeRequest("POST", "/v1/server/reboot"), token);
}

TEST_F(ServiceTest, LoginGivesARandom128BitTokenAndLogsTheConnection) {
  const std::string first = Login();
  const std::string second = Login();
  EXPECT_THAT(first, MatchesRegex("[0-9a-f]{32}"));
  EXPECT_NE(first, second);
  EXPECT_THAT(Events(), ElementsAre("connect", "connect"));
  // The log names sessions by number; a token in the log would let its reader in.
  EXPECT_THAT(LogText(), Not(HasSubstr(first)));
}

TEST_F(ServiceTest, WrongUserOrPasswordIsRefusedAndEachFailureLogged) {
  const char* forms[] = {
      "user=admin&password=RONDE",    // a prefix
      "user=admin&password=RONDELL",  // longer
      "user=admin&password=rondel",   // case matters
      "user=admin&password=",
      "user=Admin&password=RONDEL",  // only admin exists
      "user=&password=RONDEL",
  };
  for (const char* form : forms) {
    EXPECT_EQ(Handle(MakeRequest("POST", "/v1/session", {}, std::string(form))).status, 401)
        << form;
  }
  EXPECT_EQ(Events(), std::vector<std::string>(std::size(forms), "auth-failure"));
  EXPECT_THAT(LastLogLine(), HasSubstr("client=127.0.0.1"));
}

TEST_F(ServiceTest, MalformedLoginsAreRefusedWithoutChecking) {
  const std::string forms[] = {
      "",
      "user=admin",
      "password=RONDEL",
      "user=admin&password=RONDEL&user=other",  // ambiguous
      "user=admin&password=%ZZ",
      "user=admin&&password=RONDEL",
      "garbage",
      "user=admin&password=" + std::string(Service::kMaxFormSize, 'x'),
  };
  for (const std::string& form : forms) {
    EXPECT_EQ(Handle(MakeRequest("POST", "/v1/session", {}, form)).status, 400)
        << form.substr(0, 40);
  }
  EXPECT_EQ(Handle(MakeRequest("POST", "/v1/session")).status, 400);  // no body at all
  for (const std::string& event : Events()) EXPECT_EQ(event, "refused");
  EXPECT_TRUE(clock_.Sleeps().empty());
}

TEST_F(ServiceTest, EveryOtherRequestNeedsALiveSession) {
  const std::string token = Login();
  const std::optional<std::string> headers[] = {
      std::nullopt,
      "",  // the header given twice
      "Bearer",
      "Bearer 0123456789abcdef0123456789abcdef",  // well formed, never issued
      "Bearer " + token + "0",
      "Bearer " + token.substr(1),
      "bearer " + token,
      "Basic " + token,
      "Bearer  " + token,
  };
  const Request requests[] = {
      MakeRequest("GET", "/v1/file", {{"path", "/harddisk2/a"}}),
      MakeRequest("PUT", "/v1/file", {{"path", "/harddisk2/a"}}, "content"),
      MakeRequest("DELETE", "/v1/file", {{"path", "/harddisk2/a"}}),
      MakeRequest("POST", "/v1/attribute", {}, "name=a&value=b"),
      MakeRequest("POST", "/v1/server/reboot"),
      MakeRequest("POST", "/v1/server/restart"),
      MakeRequest("DELETE", "/v1/session"),
  };
  WriteFile(root_ / "a", "old");
  const auto before = ServedFiles();
  for (const Request& base : requests) {
    for (const std::optional<std::string>& header : headers) {
      Request request = base;
      request.authorization = header;
      EXPECT_EQ(Handle(request).status, 401)
          << base.method << " " << base.path << " " << header.value_or("(none)");
    }
  }
  EXPECT_EQ(ServedFiles(), before);
  // The real session survived all of it.
  EXPECT_EQ(Handle(FileRequest("GET", "/harddisk2/a", token)).status, 200);
}

TEST_F(ServiceTest, LogoutEndsThatSessionOnly) {
  const std::string mine = Login();
  const std::string theirs = Login();
  EXPECT_EQ(Handle(WithToken(MakeRequest("DELETE", "/v1/session"), mine)).status, 204);
  EXPECT_EQ(Handle(FileRequest("GET", "/harddisk2/x", mine)).status, 401);
  EXPECT_EQ(Handle(FileRequest("GET", "/harddisk2/x", theirs)).status, 404);
  EXPECT_EQ(Handle(WithToken(MakeRequest("DELETE", "/v1/session"), mine)).status, 401);
  EXPECT_THAT(LogText(), HasSubstr("disconnect client=127.0.0.1 session=1 reason=logout"));
}

TEST_F(ServiceTest, SessionsEndAfterTheIdleTime) {
  Restart(std::chrono::seconds(30));
  const std::string token = Login();
  const Request get = FileRequest("GET", "/harddisk2/x", token);
  clock_.Advance(std::chrono::seconds(29));
  EXPECT_EQ(Handle(get).status, 404);  // still alive; this use restarts the idle time
  clock_.Advance(std::chrono::seconds(29));
  EXPECT_EQ(Handle(get).status, 404);
  clock_.Advance(std::chrono::seconds(30));
  EXPECT_EQ(Handle(get).status, 401);
  EXPECT_EQ(Handle(get).status, 401);
  EXPECT_THAT(LogText(), HasSubstr("disconnect session=1 reason=idle"));
}

TEST_F(ServiceTest, IdleSessionsNobodyUsesAreEndedAtTheNextLogin) {
  Restart(std::chrono::seconds(30));
  Login();
  clock_.Advance(std::chrono::seconds(31));
  Login();
  EXPECT_THAT(Events(), ElementsAre("connect", "disconnect", "connect"));
}

TEST_F(ServiceTest, RebootAndRestartEndEverySession) {
  for (const char* what : {"reboot", "restart"}) {
    const std::string first = Login();
    const std::string second = Login();
    const Response answer =
        Handle(WithToken(MakeRequest("POST", std::string("/v1/server/") + what), first));
    EXPECT_EQ(answer.status, 204) << what;
    EXPECT_THAT(LastLogLine(), HasSubstr(std::string(what) + " client=127.0.0.1 sessions=2"));
    EXPECT_EQ(Handle(FileRequest("GET", "/harddisk2/x", first)).status, 401) << what;
    EXPECT_EQ(Handle(FileRequest("GET", "/harddisk2/x", second)).status, 401) << what;
  }
  // Logging in again works at once, as after a real reboot.
  EXPECT_EQ(Handle(FileRequest("GET", "/harddisk2/x", Login())).status, 404);
  EXPECT_EQ(Handle(Reboot(Login())).status, 204);
}

}  // namespace
}  // namespace azu::emulator::test
