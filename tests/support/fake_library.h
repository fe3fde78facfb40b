#pragma once
// A server-access library for tests: server files in memory, every call recorded, and any step
// made to fail with a chosen status.

#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "server/server_library.h"

namespace azu::test {

class FakeLibrary : public ServerLibrary {
 public:
  std::map<std::string, std::string> files;       // server path -> content
  std::map<std::string, std::string> attributes;  // name -> value
  std::vector<std::string> calls;                 // "Connect", "GetFile /path", ...
  std::map<std::string, VIREO_STATUS> failAt;     // call name -> status to answer
  std::string password = "RONDEL";
  // Runs inside GetFile after the local file is written (e.g. to break the temporary folder).
  std::function<void(const std::string& localPath)> onGetFile;
  std::vector<std::string> localPathsSeen;
  // What KeyMismatch tells, for the server named here only.
  std::string mismatchServer;
  ServerKeyMismatch mismatch;

  VIREO_STATUS Connect(const std::string& server, const std::string& given,
                       VIREO_CONNECTION* connection) override {
    *connection = 0;
    calls.push_back("Connect " + server);
    if (auto s = Fail("Connect")) return s;
    if (given != password) return VIREO_E_AUTH;
    *connection = 42;
    return VIREO_OK;
  }
  VIREO_STATUS ConnectLocal(const std::string& given, VIREO_CONNECTION* connection) override {
    *connection = 0;
    calls.push_back("ConnectLocal");
    if (auto s = Fail("ConnectLocal")) return s;
    if (given != password) return VIREO_E_AUTH;
    *connection = 43;
    return VIREO_OK;
  }
  void Disconnect(VIREO_CONNECTION connection) override {
    calls.push_back("Disconnect " + std::to_string(connection));
  }
  std::optional<ServerKeyMismatch> KeyMismatch(const std::string& server) override {
    calls.push_back("KeyMismatch " + server);
    if (server != mismatchServer) return std::nullopt;
    return mismatch;
  }
  VIREO_STATUS OpenSession(VIREO_CONNECTION, VIREO_FT_SESSION* session) override {
    calls.push_back("OpenSession");
    *session = {7, 7};
    return Fail("OpenSession");
  }
  VIREO_STATUS GetFile(VIREO_FT_SESSION*, const std::string& serverPath,
                       const std::string& localPath) override {
    calls.push_back("GetFile " + serverPath);
    localPathsSeen.push_back(localPath);
    const auto file = files.find(serverPath);
    if (auto s = Fail("GetFile")) {
      std::ofstream(localPath, std::ios::binary) << "partial";  // a cut transfer's leftovers
      return s;
    }
    if (file == files.end()) return VIREO_E_NOT_FOUND;
    std::ofstream(localPath, std::ios::binary | std::ios::trunc) << file->second;
    if (onGetFile) onGetFile(localPath);
    return VIREO_OK;
  }
  VIREO_STATUS PutFile(VIREO_FT_SESSION*, const std::string& localPath,
                       const std::string& serverPath) override {
    calls.push_back("PutFile " + serverPath);
    localPathsSeen.push_back(localPath);
    if (auto s = Fail("PutFile")) return s;
    std::ifstream in(localPath, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    files[serverPath] = content.str();
    return VIREO_OK;
  }
  VIREO_STATUS Delete(VIREO_FT_SESSION*, const std::string& serverPath) override {
    calls.push_back("Delete " + serverPath);
    if (auto s = Fail("Delete")) return s;
    return files.erase(serverPath) != 0 ? VIREO_OK : VIREO_E_NOT_FOUND;
  }
  void CloseSession(VIREO_FT_SESSION*) override { calls.push_back("CloseSession"); }
  VIREO_STATUS OpenAttributes(VIREO_CONNECTION, VIREO_ATTR_SESSION* session) override {
    calls.push_back("OpenAttributes");
    *session = {8, 8};
    return Fail("OpenAttributes");
  }
  VIREO_STATUS SetAttribute(VIREO_ATTR_SESSION*, const std::string& name,
                            const std::string& value) override {
    calls.push_back("SetAttribute " + name + "=" + value);
    if (auto s = Fail("SetAttribute")) return s;
    attributes[name] = value;
    return VIREO_OK;
  }
  void CloseAttributes(VIREO_ATTR_SESSION*) override { calls.push_back("CloseAttributes"); }
  VIREO_STATUS GetAttribute(VIREO_ATTR_SESSION*, const std::string& name,
                            std::optional<std::string>* value) override {
    calls.push_back("GetAttribute " + name);
    value->reset();
    if (auto s = Fail("GetAttribute")) return s;
    if (const auto found = attributes.find(name); found != attributes.end()) *value = found->second;
    return VIREO_OK;
  }
  VIREO_STATUS Reboot(VIREO_CONNECTION) override {
    calls.push_back("Reboot");
    return Fail("Reboot");
  }
  VIREO_STATUS Restart(VIREO_CONNECTION) override {
    calls.push_back("Restart");
    return Fail("Restart");
  }

 private:
  VIREO_STATUS Fail(const std::string& call) const {
    const auto found = failAt.find(call);
    return found != failAt.end() ? found->second : VIREO_OK;
  }
};

}  // namespace azu::test
