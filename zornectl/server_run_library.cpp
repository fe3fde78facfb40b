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
  const VIREO_STATUS status = library_.GetFile(session, serverPath, localPath);
  if (status == VIREO_OK) {
    if (auto content = Slurp(localPath)) seen_[serverPath] = std::move(content);
  } else if (status == VIREO_E_NOT_FOUND) {
    seen_[serverPath] = std::nullopt;
  }
  return Note(status);
}

VIREO_STATUS ServerRunLibrary::ServerCopy(VIREO_FT_SESSION* session, const std::string& serverPath,
                                          std::optional<std::string>& content) {
  if (Expired()) return VIREO_E_CONNECTION;
  if (const auto seen = seen_.find(serverPath); seen != seen_.end()) {
    content = seen->second;
    return VIREO_OK;
  }
  content.reset();
  int error = 0;
  const auto local = platform::TempFile::Create(&error);
  if (!local) return VIREO_E_LOCAL_FILE;
  const VIREO_STATUS status = library_.GetFile(session, serverPath, local->Path());
  if (status != VIREO_OK && status != VIREO_E_NOT_FOUND) return status;
  if (status == VIREO_OK) {
    content = Slurp(local->Path());
    if (!content) return VIREO_E_LOCAL_FILE;
  }
  seen_[serverPath] = content;
  return VIREO_OK;
}

// The copy this run fetched, not a new one: fetching again would move the version that guards
// the store past another administrator's change.
VIREO_STATUS ServerRunLibrary::KeepBackup(const std::string& serverPath,
                                          const std::optional<std::string>& before) {
  if (!options_.backupFolder || !before) return VIREO_OK;
  namespace fs = std::filesystem;
  const fs::path target = fs::path(*options_.backupFolder) / fs::path(serverPath).relative_path();
  std::error_code failed;
  fs::create_directories(target.parent_path(), failed);
  if (failed) return VIREO_E_LOCAL_FILE;
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  out << *before;
  out.close();
  return out ? VIREO_OK : VIREO_E_LOCAL_FILE;
}

VIREO_STATUS ServerRunLibrary::Apply(VIREO_FT_SESSION* session, FileChange change,
                                     const std::string& localPath) {
  if (!options_.dryRun) {
    // Nothing is replaced unless the old file was kept first.
    if (const VIREO_STATUS s = KeepBackup(change.serverPath, change.before)) return Note(s);
    const VIREO_STATUS status =
        Note(change.after ? library_.PutFile(session, localPath, change.serverPath)
                          : library_.Delete(session, change.serverPath));
    if (status != VIREO_OK) return status;
    stored_ = true;
    seen_[change.serverPath] = change.after;
  }
  changes_.push_back(std::move(change));
  return VIREO_OK;
}

VIREO_STATUS ServerRunLibrary::PutFile(VIREO_FT_SESSION* session, const std::string& localPath,
                                       const std::string& serverPath) {
  if (Expired()) return VIREO_E_CONNECTION;
  FileChange change{serverPath, std::nullopt, Slurp(localPath)};
  if (!change.after) return Note(VIREO_E_LOCAL_FILE);
  if (const VIREO_STATUS s = ServerCopy(session, serverPath, change.before)) return Note(s);
  if (change.before == change.after) return VIREO_OK;
  return Apply(session, std::move(change), localPath);
}

VIREO_STATUS ServerRunLibrary::Delete(VIREO_FT_SESSION* session, const std::string& serverPath) {
  if (Expired()) return VIREO_E_CONNECTION;
  FileChange change{serverPath, std::nullopt, std::nullopt};
  if (const VIREO_STATUS s = ServerCopy(session, serverPath, change.before)) return Note(s);
  if (!change.before) return VIREO_OK;  // already gone
  return Apply(session, std::move(change), {});
}

VIREO_STATUS ServerRunLibrary::OpenAttributes(VIREO_CONNECTION connection,
                                              VIREO_ATTR_SESSION* session) {
  if (Expired()) return VIREO_E_CONNECTION;
  return Note(library_.OpenAttributes(connection, session));
}

VIREO_STATUS ServerRunLibrary::GetAttribute(VIREO_ATTR_SESSION* session, const std::string& name,
                                            std::optional<std::string>* value) {
  if (Expired()) return VIREO_E_CONNECTION;
  return Note(library_.GetAttribute(session, name, value));
}

VIREO_STATUS ServerRunLibrary::SetAttribute(VIREO_ATTR_SESSION* session, const std::string& name,
                                            const std::string& value) {
  if (Expired()) return VIREO_E_CONNECTION;
  std::optional<std::string> current;
  const VIREO_STATUS read = library_.GetAttribute(session, name, &current);
  // A library that cannot read attributes (the maker's) leaves it unknown: set it.
  if (read != VIREO_OK && read != VIREO_E_UNSUPPORTED) return Note(read);
  if (read == VIREO_OK && current == value) return VIREO_OK;
  if (!options_.dryRun) {
    if (const VIREO_STATUS s = Note(library_.SetAttribute(session, name, value))) return s;
    stored_ = true;
  }
  attributes_.push_back(name + "=" + value);
  return VIREO_OK;
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
