#pragma once
// Helpers of the end-to-end tests of libvireo: connecting as the program does, and a scratch
// folder for the local side of transfers.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <system_error>

#include "server/vireo.h"
#include "tests/support/running_emulator.h"

namespace azu::test {

// INIT_connect with the program's fixed arguments; `connection` is 0 unless it succeeded.
inline VIREO_STATUS ConnectTo(const std::string& server, const std::string& password,
                              VIREO_CONNECTION& connection) {
  return INIT_connect(server.c_str(), "admin", password.c_str(), 0, 0, 0, -1, -1, 1, 3, 0,
                      &connection, 0);
}

// A connection to `emulator` with its password, closed with the owner.
class ClientConnection {
 public:
  explicit ClientConnection(const RunningEmulator& emulator)
      : ClientConnection(emulator.Address(), emulator.Password()) {}
  ClientConnection(const std::string& server, const std::string& password) {
    status_ = ConnectTo(server, password, handle_);
  }
  ~ClientConnection() {
    if (handle_ != 0) {
      INIT_disconnect(handle_, 0);
    }
  }
  ClientConnection(const ClientConnection&) = delete;
  ClientConnection& operator=(const ClientConnection&) = delete;
  ClientConnection(ClientConnection&&) = delete;
  ClientConnection& operator=(ClientConnection&&) = delete;

  [[nodiscard]] VIREO_STATUS Status() const { return status_; }
  [[nodiscard]] VIREO_CONNECTION Handle() const { return handle_; }

  // A new file-transfer session; {0, 0} when it could not be opened.
  [[nodiscard]] VIREO_FT_SESSION OpenFiles() const {
    VIREO_FT_SESSION session{};
    EXPECT_EQ(FT_openSession(handle_, &session, 0), VIREO_OK);
    return session;
  }

 private:
  VIREO_CONNECTION handle_ = 0;
  VIREO_STATUS status_ = VIREO_OK;
};

// A fresh temporary folder, removed with its owner.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vireo-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) {
      path_ = pattern;
    }
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ScratchFolder(ScratchFolder&&) = delete;
  ScratchFolder& operator=(ScratchFolder&&) = delete;

  // The path of `name` in the folder, as the C interface takes it.
  [[nodiscard]] std::string File(const std::string& name) const { return (path_ / name).string(); }
  [[nodiscard]] const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline std::optional<std::string> ReadLocal(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return std::nullopt;
  }
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteLocal(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

}  // namespace azu::test
