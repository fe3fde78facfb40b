#pragma once
// The servers whose keys this user has pinned, as ssh keeps known_hosts: one line per server,
// "host:port sha256:<hex>", pinned on the first successful login and checked on every later
// connect. And the last key mismatch of each server, for the window to show.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace azu::vireo {

// $VIREO_KNOWN_SERVERS when set and not empty; else $XDG_CONFIG_HOME/azuqvc/known_servers; else
// $HOME/.config/azuqvc/known_servers; on Windows %APPDATA%\azuqvc\known_servers. Empty when none
// of these can be formed.
std::filesystem::path DefaultKnownServersFile();

// One known-servers file; reads it anew on each call, so other processes' pins count.
class KnownServers {
 public:
  explicit KnownServers(std::filesystem::path file);

  // The fingerprint pinned for `server` ("host:port", host lower-case), or nullopt.
  [[nodiscard]] std::optional<std::string> Pinned(std::string_view server) const;
  // Pins `fingerprint` for `server`, replacing any earlier pin; the file is replaced atomically
  // and readable by the owner only (folder made 0700 when missing). False when it cannot be, and
  // when the file is a symbolic link or not a regular file. Lines it cannot read are kept.
  [[nodiscard]] bool Pin(std::string_view server, std::string_view fingerprint) const;

  [[nodiscard]] const std::filesystem::path& File() const { return file_; }

 private:
  std::filesystem::path file_;
};

struct KeyMismatch {
  std::string shown;   // fingerprint the server showed
  std::string pinned;  // fingerprint pinned for it
  std::filesystem::path file;
};
// Kept per server as the caller named it (the connect's `server` text); thread-safe.
void NoteKeyMismatch(std::string_view server, const KeyMismatch& mismatch);
[[nodiscard]] std::optional<KeyMismatch> LastKeyMismatch(std::string_view server);

}  // namespace azu::vireo
