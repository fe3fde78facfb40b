#pragma once
// The process's open connections and sessions, found by the handles and records the caller
// holds. Thread-safe; a handle is never reused within the process.

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <random>

#include "vireo/connection.h"
#include "vireo/file_transfer.h"

namespace azu::vireo {

enum class SessionKind { kFileTransfer, kAttribute };

// What a caller's 8-byte session record holds.
struct SessionRecord {
  std::uint32_t id = 0;
  std::uint32_t check = 0;
};

// An open session and the connection it runs on.
struct OpenSession {
  std::shared_ptr<Connection> connection;
  std::shared_ptr<FileSession> files;  // null for an attribute session
};

class HandleRegistry {
 public:
  HandleRegistry();

  // The new connection's handle; 0 when the handles are used up.
  [[nodiscard]] std::uint32_t AddConnection(std::shared_ptr<Connection> connection);
  [[nodiscard]] std::shared_ptr<Connection> FindConnection(std::uint32_t handle) const;
  // Takes the connection out together with its sessions; null when unknown.
  std::shared_ptr<Connection> RemoveConnection(std::uint32_t handle);

  // Opens a session on a known connection; nullopt when the connection is unknown or the
  // handles are used up.
  [[nodiscard]] std::optional<SessionRecord> AddSession(std::uint32_t connection, SessionKind kind);
  // The session of `record` when it is open, of that kind, and its connection too.
  [[nodiscard]] std::optional<OpenSession> FindSession(const SessionRecord& record,
                                                       SessionKind kind) const;
  // False when the session was not open.
  bool RemoveSession(const SessionRecord& record, SessionKind kind);

 private:
  struct Session {
    std::uint32_t check = 0;
    SessionKind kind = SessionKind::kFileTransfer;
    std::uint32_t connection = 0;
    std::shared_ptr<FileSession> files;
  };

  [[nodiscard]] const Session* Lookup(const SessionRecord& record, SessionKind kind) const;

  mutable std::mutex mutex_;
  std::map<std::uint32_t, std::shared_ptr<Connection>> connections_;
  std::map<std::uint32_t, Session> sessions_;
  std::uint32_t last_connection_ = 0;
  std::uint32_t last_session_ = 0;
  std::mt19937 random_;
};

// The registry behind the C interface.
[[nodiscard]] HandleRegistry& Registry();

}  // namespace azu::vireo
