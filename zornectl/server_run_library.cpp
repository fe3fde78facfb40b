#include "zornectl/server_run_library.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/temp_file.h"

namespace azu::ctl {
namespace {

std::optional<std::string> Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

}  // namespace

bool ServerRunLibrary::Expired() {
  if (std::chrono::steady_clock::now() < options_.deadline) return false;
  deadlinePassed_ = true;
  lastFailure_ = VIREO_E_CONNECTION;
  return true;
}

VIREO_STATUS ServerRunLibrary::Note(VIREO_STATUS status) {
  if (status != VIREO_OK) lastFailure_ = status;
  return status;
}

VIREO_STATUS ServerRunLibrary::Connect(const std::string& server, const std::string& password,
                                       VIREO_CONNECTION* connection) {
  if (Expired()) return VIREO_E_CONNECTION;
  return Note(library_.Connect(server, password, connection));
}

VIREO_STATUS ServerRunLibrary::ConnectLocal(const std::string& password,
                                            VIREO_CONNECTION* connection) {
  if (Expired()) return VIREO_E_CONNECTION;
  return Note(library_.ConnectLocal(password, connection));
}

VIREO_STATUS ServerRunLibrary::OpenSession(VIREO_CONNECTION connection, VIREO_FT_SESSION* session) {
  if (Expired()) return VIREO_E_CONNECTION;
  return Note(library_.OpenSession(connection, session));
}

VIREO_STATUS ServerRunLibrary::GetFile(VIREO_FT_SESSION* session, const std::string& serverPath,
                                       const std::string& localPath) {
  if (Expired()) return VIREO_E_CONNECTION;
  return Note(library_.GetFile(session, serverPath, localPath));
}

VIREO_STATUS ServerRunLibrary::Fetch(VIREO_FT_SESSION* session, const std::string& serverPath,
                                     std::optional<std::string>& content) {
  content.reset();
  int error = 0;
  const auto local = platform::TempFile::Create(&error);
  if (!local) return VIREO_E_LOCAL_FILE;
  const VIREO_STATUS status = library_.GetFile(session, serverPath, local->Path());
  if (status == VIREO_E_NOT_FOUND) return VIREO_OK;
  if (status != VIREO_OK) return status;
  content = Slurp(local->Path());
  return content ? VIREO_OK : VIREO_E_LOCAL_FILE;
}

VIREO_STATUS ServerRunLibrary::KeepBackup(VIREO_FT_SESSION* session,
                                          const std::string& serverPath) {
  if (!options_.backupFolder) return VIREO_OK;
  namespace fs = std::filesystem;
  const fs::path target = fs::path(*options_.backupFolder) / fs::path(serverPath).relative_path();
  std::error_code failed;
  fs::create_directories(target.parent_path(), failed);
  if (failed) return VIREO_E_LOCAL_FILE;
  const VIREO_STATUS status = library_.GetFile(session, serverPath, target.string());
  return status == VIREO_E_NOT_FOUND ? VIREO_OK : status;
}

VIREO_STATUS ServerRunLibrary::PutFile(VIREO_FT_SESSION* session, const std::string& localPath,
                                       const std::string& serverPath) {
  if (Expired()) return VIREO_E_CONNECTION;
  if (options_.dryRun) {
    FileChange change{serverPath, std::nullopt, Slurp(localPath)};
    if (!change.after) return Note(VIREO_E_LOCAL_FILE);
    if (const VIREO_STATUS s = Fetch(session, serverPath, change.before)) return Note(s);
    changes_.push_back(std::move(change));
    return VIREO_OK;
  }
  // Nothing is replaced unless the old file was kept first.
  if (const VIREO_STATUS s = KeepBackup(session, serverPath)) return Note(s);
  const VIREO_STATUS status = Note(library_.PutFile(session, localPath, serverPath));
  stored_ = stored_ || status == VIREO_OK;
  return status;
}

VIREO_STATUS ServerRunLibrary::Delete(VIREO_FT_SESSION* session, const std::string& serverPath) {
  if (Expired()) return VIREO_E_CONNECTION;
  if (options_.dryRun) {
    FileChange change{serverPath, std::nullopt, std::nullopt};
    if (const VIREO_STATUS s = Fetch(session, serverPath, change.before)) return Note(s);
    if (!change.before) return Note(VIREO_E_NOT_FOUND);  // as the delete itself would say
    changes_.push_back(std::move(change));
    return VIREO_OK;
  }
  if (const VIREO_STATUS s = KeepBackup(session, serverPath)) return Note(s);
  const VIREO_STATUS status = Note(library_.Delete(session, serverPath));
  stored_ = stored_ || status == VIREO_OK;
  return status;
}

VIREO_STATUS ServerRunLibrary::OpenAttributes(VIREO_CONNECTION connection,
                                              VIREO_ATTR_SESSION* session) {
  if (Expired()) return VIREO_E_CONNECTION;
  return Note(library_.OpenAttributes(connection, session));
}

VIREO_STATUS ServerRunLibrary::SetAttribute(VIREO_ATTR_SESSION* session, const std::string& name,
                                            const std::string& value) {
  if (Expired()) return VIREO_E_CONNECTION;
  if (options_.dryRun) {
    attributes_.push_back(name + "=" + value);
    return VIREO_OK;
  }
  return Note(library_.SetAttribute(session, name, value));
}

VIREO_STATUS ServerRunLibrary::Reboot(VIREO_CONNECTION connection) {
  if (Expired()) return VIREO_E_CONNECTION;
  return Note(library_.Reboot(connection));
}

VIREO_STATUS ServerRunLibrary::Restart(VIREO_CONNECTION connection) {
  if (Expired()) return VIREO_E_CONNECTION;
  return Note(library_.Restart(connection));
}

}  // namespace azu::ctl
