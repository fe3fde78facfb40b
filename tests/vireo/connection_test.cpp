// Connections and server control through the C interface, against a real zorne-emulator.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "server/vireo.h"
#include "tests/support/running_emulator.h"
#include "tests/vireo/client_support.h"

namespace azu::test {
namespace {

long CountOf(const std::vector<std::string>& events, const std::string& event) {
  return std::count(events.begin(), events.end(), event);
}

TEST(VireoConnection, LogsInOnlyWithTheAdministratorsPassword) {
  RunningEmulator emulator;
  ASSERT_TRUE(emulator.Started()) << emulator.Error();

  VIREO_CONNECTION first = 0;
  VIREO_CONNECTION second = 0;
  ASSERT_EQ(ConnectTo(emulator.Address(), "RONDEL", first), VIREO_OK);
  ASSERT_EQ(ConnectTo(emulator.Address(), "RONDEL", second), VIREO_OK);
  EXPECT_NE(first, 0U);
  EXPECT_NE(second, first);

  VIREO_CONNECTION refused = 77;
  EXPECT_EQ(ConnectTo(emulator.Address(), "rondel", refused), VIREO_E_AUTH);
  EXPECT_EQ(refused, 0U);
  EXPECT_EQ(ConnectTo(emulator.Address(), "", refused), VIREO_E_AUTH);
  EXPECT_EQ(INIT_connect(emulator.Address().c_str(), "root", "RONDEL", 0, 0, 0, -1, -1, 1, 3, 0,
                         &refused, 0),
            VIREO_E_AUTH);

  EXPECT_EQ(INIT_disconnect(first, 0), VIREO_OK);
  EXPECT_EQ(INIT_disconnect(second, 0), VIREO_OK);
  const auto events = emulator.Events();
  EXPECT_EQ(CountOf(events, "connect"), 2);
  EXPECT_EQ(CountOf(events, "auth-failure"), 3);
  EXPECT_EQ(CountOf(events, "disconnect"), 2);
}

TEST(VireoConnection, AzumConnectsToTheGivenHostWithUtf8Password) {
  EmulatorOptions options;
  options.password = "P\xC3\xA4ssw\xC3\xB6rter & +1";
  RunningEmulator emulator(options);
  ASSERT_TRUE(emulator.Started()) << emulator.Error();
  const char* password = options.password.c_str();

  // The host comes without a port, as the program gives it; the port setting supplies it.
  ::setenv("VIREO_PORT", std::to_string(emulator.Port()).c_str(), 1);
  VIREO_CONNECTION connection = 0;
  EXPECT_EQ(AZUM_connectUTF8("127.0.0.1", "admin", password, password, -1, -1, &connection, 0),
            VIREO_OK);
  EXPECT_NE(connection, 0U);
  EXPECT_EQ(INIT_disconnect(connection, 0), VIREO_OK);
  EXPECT_EQ(AZUM_connectUTF8("127.0.0.1", "admin", "P\xC3\xA4ssw\xC3\xB6rter",
                             "P\xC3\xA4ssw\xC3\xB6rter", -1, -1, &connection, 0),
            VIREO_E_AUTH);
  ::unsetenv("VIREO_PORT");
}

TEST(VireoConnection, HandlesOfClosedConnectionsAndSessionsAreRefused) {
  RunningEmulator emulator;
  ASSERT_TRUE(emulator.Started()) << emulator.Error();
  VIREO_CONNECTION connection = 0;
  ASSERT_EQ(ConnectTo(emulator.Address(), emulator.Password(), connection), VIREO_OK);
  VIREO_FT_SESSION files{};
  VIREO_FT_SESSION closed_files{};
  VIREO_ATTR_SESSION attributes{};
  ASSERT_EQ(FT_openSession(connection, &files, 0), VIREO_OK);
  ASSERT_EQ(FT_openSession(connection, &closed_files, 0), VIREO_OK);
  ASSERT_EQ(ATTR_openSession(connection, &attributes, 0), VIREO_OK);
  ASSERT_TRUE(emulator.WriteServerFile("/not-scsi0/a.txt", "a"));
  ScratchFolder local;
  const std::string local_file = local.File("a.txt");

  // A closed session on a live connection, and records used as the other kind.
  EXPECT_EQ(FT_closeSession(&closed_files, 0), VIREO_OK);
  EXPECT_EQ(FT_getFile(&closed_files, "/not-scsi0/a.txt", local_file.c_str(), 0), VIREO_E_SESSION);
  EXPECT_EQ(FT_closeSession(&closed_files, 0), VIREO_E_SESSION);
  VIREO_ATTR_SESSION files_as_attributes{files.id, files.check};
  EXPECT_EQ(ATTR_setDefault(&files_as_attributes, 0, "Name", "v", 0), VIREO_E_SESSION);
  VIREO_FT_SESSION forged{files.id, files.check + 1};
  EXPECT_EQ(FT_getFile(&forged, "/not-scsi0/a.txt", local_file.c_str(), 0), VIREO_E_SESSION);
  EXPECT_EQ(FT_getFile(&files, "/not-scsi0/a.txt", local_file.c_str(), 0), VIREO_OK);

  ASSERT_EQ(INIT_disconnect(connection, 0), VIREO_OK);
  EXPECT_EQ(INIT_disconnect(connection, 0), VIREO_E_CONNECTION);
  EXPECT_EQ(FT_getFile(&files, "/not-scsi0/a.txt", local_file.c_str(), 0), VIREO_E_SESSION);
  EXPECT_EQ(FT_putFile(&files, local_file.c_str(), "/not-scsi0/a.txt", 0), VIREO_E_SESSION);
  EXPECT_EQ(FT_delete(&files, "/not-scsi0/a.txt", 0), VIREO_E_SESSION);
  EXPECT_EQ(FT_closeSession(&files, 0), VIREO_E_SESSION);
  EXPECT_EQ(ATTR_setDefault(&attributes, 0, "Name", "v", 0), VIREO_E_SESSION);
  EXPECT_EQ(ATTR_closeSession(&attributes, 0), VIREO_E_SESSION);
  EXPECT_EQ(FT_openSession(connection, &files, 0), VIREO_E_CONNECTION);
  EXPECT_EQ(ATTR_openSession(connection, &attributes, 0), VIREO_E_CONNECTION);
  EXPECT_EQ(SERVER_reboot(connection, 0), VIREO_E_CONNECTION);
  EXPECT_EQ(SERVER_restart(connection, 0), VIREO_E_CONNECTION);

  // A new connection never takes the old handle.
  VIREO_CONNECTION next = 0;
  ASSERT_EQ(ConnectTo(emulator.Address(), emulator.Password(), next), VIREO_OK);
  EXPECT_NE(next, connection);
  EXPECT_EQ(FT_getFile(&files, "/not-scsi0/a.txt", local_file.c_str(), 0), VIREO_E_SESSION);
  EXPECT_EQ(INIT_disconnect(next, 0), VIREO_OK);
  EXPECT_EQ(emulator.ReadServerFile("/not-scsi0/a.txt"), "a");
}

TEST(VireoConnection, RebootAndRestartAreRecordedAndEndEverySession) {
  RunningEmulator emulator;
  ASSERT_TRUE(emulator.Started()) << emulator.Error();
  ASSERT_TRUE(emulator.WriteServerFile("/harddisk2/a.txt", "a"));
  ScratchFolder local;
  const std::string local_file = local.File("a.txt");

  ClientConnection admin(emulator);
  ClientConnection other(emulator);
  ASSERT_EQ(admin.Status(), VIREO_OK);
  ASSERT_EQ(other.Status(), VIREO_OK);
  VIREO_FT_SESSION files = other.OpenFiles();
  ASSERT_EQ(FT_getFile(&files, "/harddisk2/a.txt", local_file.c_str(), 0), VIREO_OK);

  EXPECT_EQ(SERVER_reboot(admin.Handle(), 0), VIREO_OK);
  EXPECT_EQ(FT_getFile(&files, "/harddisk2/a.txt", local_file.c_str(), 0), VIREO_E_SESSION_ENDED);
  EXPECT_EQ(SERVER_restart(admin.Handle(), 0), VIREO_E_SESSION_ENDED);

  ClientConnection again(emulator);
  ASSERT_EQ(again.Status(), VIREO_OK);
  EXPECT_EQ(SERVER_restart(again.Handle(), 0), VIREO_OK);
  VIREO_FT_SESSION after = again.OpenFiles();
  EXPECT_EQ(FT_getFile(&after, "/harddisk2/a.txt", local_file.c_str(), 0), VIREO_E_SESSION_ENDED);

  const auto events = emulator.Events();
  EXPECT_EQ(CountOf(events, "reboot"), 1);
  EXPECT_EQ(CountOf(events, "restart"), 1);
  EXPECT_LT(std::find(events.begin(), events.end(), "reboot"),
            std::find(events.begin(), events.end(), "restart"));
}

TEST(VireoConnection, ClientsOnManyThreadsKeepTheirOwnConnections) {
  RunningEmulator emulator;
  ASSERT_TRUE(emulator.Started()) << emulator.Error();
  ScratchFolder local;
  constexpr int kClients = 8;
  std::vector<VIREO_STATUS> results(kClients, -1);
  std::vector<std::thread> clients;
  for (int i = 0; i < kClients; ++i) {
    clients.emplace_back([&, i] {
      const std::string name = "client" + std::to_string(i);
      const std::string content = "client " + std::to_string(i) + "\r\n";
      const std::string out = local.File(name + ".out");
      const std::string in = local.File(name + ".in");
      const std::string server_path = "/not-scsi0/" + name + ".txt";
      WriteLocal(out, content);
      VIREO_CONNECTION connection = 0;
      VIREO_FT_SESSION files{};
      VIREO_STATUS status = ConnectTo(emulator.Address(), emulator.Password(), connection);
      for (int round = 0; round < 5 && status == VIREO_OK; ++round) {
        status = FT_openSession(connection, &files, 0);
        if (status == VIREO_OK) status = FT_putFile(&files, out.c_str(), server_path.c_str(), 0);
        if (status == VIREO_OK) status = FT_getFile(&files, server_path.c_str(), in.c_str(), 0);
        if (status == VIREO_OK && ReadLocal(in) != content) status = -2;
        if (status == VIREO_OK) status = FT_closeSession(&files, 0);
      }
      if (connection != 0 && INIT_disconnect(connection, 0) != VIREO_OK) status = -3;
      results[static_cast<std::size_t>(i)] = status;
    });
  }
  for (auto& client : clients) {
    client.join();
  }
  EXPECT_EQ(results, std::vector<VIREO_STATUS>(kClients, VIREO_OK));
}

}  // namespace
}  // namespace azu::test
