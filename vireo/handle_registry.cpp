#include "vireo/handle_registry.h"

#include <limits>
#include <utility>

namespace azu::vireo {

HandleRegistry::HandleRegistry() : random_(std::random_device{}()) {}

std::uint32_t HandleRegistry::AddConnection(std::shared_ptr<Connection> connection) {
  const std::lock_guard lock(mutex_);
  if (last_connection_ == std::numeric_limits<std::uint32_t>::max()) {
    return 0;
  }
  const std::uint32_t handle = ++last_connection_;
  connections_.emplace(handle, std::move(connection));
  return handle;
}

std::shared_ptr<Connection> HandleRegistry::FindConnection(std::uint32_t handle) const {
  const std::lock_guard lock(mutex_);
  const auto found = connections_.find(handle);
  return found != connections_.end() ? found->second : nullptr;
}

std::shared_ptr<Connection> HandleRegistry::RemoveConnection(std::uint32_t handle) {
  const std::lock_guard lock(mutex_);
  const auto found = connections_.find(handle);
  if (found == connections_.end()) {
    return nullptr;
  }
  std::shared_ptr<Connection> connection = std::move(found->second);
  connections_.erase(found);
  std::erase_if(sessions_,
                [handle](const auto& entry) { return entry.second.connection == handle; });
  return connection;
}

std::optional<SessionRecord> HandleRegistry::AddSession(std::uint32_t connection,
                                                        SessionKind kind) {
  auto files = kind == SessionKind::kFileTransfer ? std::make_shared<FileSession>() : nullptr;
  const std::lock_guard lock(mutex_);
  if (!connections_.contains(connection) ||
      last_session_ == std::numeric_limits<std::uint32_t>::max()) {
    return std::nullopt;
  }
  const std::uint32_t id = ++last_session_;
  // A random check makes a guessed or copied-over record fail instead of reaching a session.
  std::uint32_t check = 0;
  while (check == 0) {
    check = static_cast<std::uint32_t>(random_());
  }
  sessions_.emplace(id, Session{check, kind, connection, std::move(files)});
  return SessionRecord{id, check};
}

const HandleRegistry::Session* HandleRegistry::Lookup(const SessionRecord& record,
                                                      SessionKind kind) const {
  const auto found = sessions_.find(record.id);
  if (found == sessions_.end() || found->second.check != record.check ||
      found->second.kind != kind) {
    return nullptr;
  }
  return &found->second;
}

std::optional<OpenSession> HandleRegistry::FindSession(const SessionRecord& record,
                                                       SessionKind kind) const {
  const std::lock_guard lock(mutex_);
  const Session* session = Lookup(record, kind);
  if (session == nullptr) {
    return std::nullopt;
  }
  const auto connection = connections_.find(session->connection);
  if (connection == connections_.end()) {
    return std::nullopt;
  }
  return OpenSession{connection->second, session->files};
}

bool HandleRegistry::RemoveSession(const SessionRecord& record, SessionKind kind) {
  const std::lock_guard lock(mutex_);
  if (Lookup(record, kind) == nullptr) {
    return false;
  }
  sessions_.erase(record.id);
  return true;
}

HandleRegistry& Registry() {
  static HandleRegistry registry;
  return registry;
}

}  // namespace azu::vireo
