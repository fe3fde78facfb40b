#pragma once
// The server-access library as one server's run in zornectl sees it: every call bounded by the
// server's deadline, the last failing status kept. Only what differs is changed: a file the
// server already holds byte for byte is not stored again, a file it does not have is not
// deleted, an attribute it already has is not set. In a dry run each change is recorded instead
// of made; with a backup folder the server's file is kept before it is replaced.

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "server/server_library.h"

namespace azu::ctl {

// A file a run stores or would store (or deletes: `after` is nullopt), with the server's copy
// before it (nullopt when there was none); the two always differ.
struct FileChange {
  std::string serverPath;
  std::optional<std::string> before;
  std::optional<std::string> after;
};

class ServerRunLibrary final : public ServerLibrary {
 public:
  struct Options {
    bool dryRun = false;
    std::optional<std::string> backupFolder;  // the server's own folder under --backup
    std::chrono::steady_clock::time_point deadline;
  };

  ServerRunLibrary(ServerLibrary& library, Options options)
      : library_(library), options_(std::move(options)) {}

  VIREO_STATUS Connect(const std::string& server, const std::string& password,
                       VIREO_CONNECTION* connection) override;
  VIREO_STATUS ConnectLocal(const std::string& password, VIREO_CONNECTION* connection) override;
  void Disconnect(VIREO_CONNECTION connection) override { library_.Disconnect(connection); }
  std::optional<ServerKeyMismatch> KeyMismatch(const std::string& server) override {
    return library_.KeyMismatch(server);
  }
  VIREO_STATUS OpenSession(VIREO_CONNECTION connection, VIREO_FT_SESSION* session) override;
  VIREO_STATUS GetFile(VIREO_FT_SESSION* session, const std::string& serverPath,
                       const std::string& localPath) override;
  VIREO_STATUS PutFile(VIREO_FT_SESSION* session, const std::string& localPath,
                       const std::string& serverPath) override;
  VIREO_STATUS Delete(VIREO_FT_SESSION* session, const std::string& serverPath) override;
  void CloseSession(VIREO_FT_SESSION* session) override { library_.CloseSession(session); }
  VIREO_STATUS OpenAttributes(VIREO_CONNECTION connection, VIREO_ATTR_SESSION* session) override;
  VIREO_STATUS SetAttribute(VIREO_ATTR_SESSION* session, const std::string& name,
                            const std::string& value) override;
  void CloseAttributes(VIREO_ATTR_SESSION* session) override { library_.CloseAttributes(session); }
  VIREO_STATUS GetAttribute(VIREO_ATTR_SESSION* session, const std::string& name,
                            std::optional<std::string>* value) override;
  VIREO_STATUS Reboot(VIREO_CONNECTION connection) override;
  VIREO_STATUS Restart(VIREO_CONNECTION connection) override;

  // The server's copy of `serverPath` (nullopt when it has none): as this run last saw it, or
  // fetched now. Never fetched again once seen, so that a store stays guarded by the version the
  // page itself fetched (the library refuses it when the server copy changed meanwhile).
  VIREO_STATUS ServerCopy(VIREO_FT_SESSION* session, const std::string& serverPath,
                          std::optional<std::string>& content);

  [[nodiscard]] VIREO_STATUS LastFailure() const { return lastFailure_; }
  // Something was stored, deleted or set on the server.
  [[nodiscard]] bool Stored() const { return stored_; }
  [[nodiscard]] bool DeadlinePassed() const { return deadlinePassed_; }
  [[nodiscard]] const std::vector<FileChange>& Changes() const { return changes_; }
  // "name=value" of every attribute set (dry run: that would be set).
  [[nodiscard]] const std::vector<std::string>& Attributes() const { return attributes_; }

 private:
  // VIREO_E_CONNECTION without calling once the deadline has passed.
  bool Expired();
  VIREO_STATUS Note(VIREO_STATUS status);
  VIREO_STATUS KeepBackup(const std::string& serverPath, const std::optional<std::string>& before);
  // Makes the change on the server (dry run: only records it).
  VIREO_STATUS Apply(VIREO_FT_SESSION* session, FileChange change, const std::string& localPath);

  ServerLibrary& library_;
  Options options_;
  VIREO_STATUS lastFailure_ = VIREO_OK;
  bool stored_ = false;
  bool deadlinePassed_ = false;
  std::vector<FileChange> changes_;
  std::map<std::string, std::optional<std::string>> seen_;  // server path → its copy
  std::vector<std::string> attributes_;
};

}  // namespace azu::ctl
