#pragma once
// The servers whose keys this user has pinned, as ssh keeps known_hosts: one line per server,
// "host:port sha256:<hex>", pinned on the first successful login and checked on every later
// connect. And the last key mismatch of each server, for the window to show.
//
// A process keeps one copy of each known-servers file: read at its first use and read again only
// when the file has changed since (another process pinned or forgot a server), so that a fleet of
// connections costs one read, not one each. A key pinned on first use (PinLater) counts in this
// process at once, and reaches the file together with the others in one append (FlushPins):
//   - when the last open connection of the process closes (INIT_disconnect, or a failed connect;
//     unless another thread is using the file just then, and a later close writes them),
//   - when kMostWaitingPins are waiting,
//   - when the process ends through exit() or main's return, or the library is unloaded.
// A process that ends otherwise (killed, crashed, _exit) loses the pins still waiting: those
// servers are pinned anew at their next connect, as if never met. A pin that another process
// wrote first is kept, never replaced by a waiting one: the key this process saw is then refused
// from its next connect on. A key other than the pinned one is refused in any case.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "vireo/server_address.h"

namespace azu::vireo {

// Pins a process may hold back before they are written.
inline constexpr std::size_t kMostWaitingPins = 256;

// $VIREO_KNOWN_SERVERS when set and not empty; else $XDG_CONFIG_HOME/azuqvc/known_servers; else
// $HOME/.config/azuqvc/known_servers; on Windows %APPDATA%\azuqvc\known_servers. Empty when none
// of these can be formed.
std::filesystem::path DefaultKnownServersFile();

// The name a server is pinned under: "host:port", the host lower-case.
[[nodiscard]] std::string PinName(const ServerAddress& server);
// The same for a server as a connect names it ("host", or "host:port"; the port VIREO_PORT's
// or 9631 when not given); nullopt when `server` is no server address.
[[nodiscard]] std::optional<std::string> PinNameOf(std::string_view server);

struct KnownServer {
  std::string server;  // "host:port"
  std::string fingerprint;

  friend bool operator==(const KnownServer&, const KnownServer&) = default;
};

struct Forgotten {
  enum class Outcome : std::uint8_t { kForgotten, kNotPinned, kFailed } outcome;
  std::string fingerprint;  // kForgotten: the key that was pinned
};

// One known-servers file, through the process's copy of it.
class KnownServers {
 public:
  explicit KnownServers(std::filesystem::path file);

  // The fingerprint pinned for `server` ("host:port", host lower-case), or nullopt.
  [[nodiscard]] std::optional<std::string> Pinned(std::string_view server) const;
  // Pins `fingerprint` for `server` now, replacing any earlier pin; the file is replaced
  // atomically and readable by the owner only (folder made 0700 when missing). False when it
  // cannot be, and when the file is a symbolic link or not a regular file. Lines it cannot read
  // are kept.
  [[nodiscard]] bool Pin(std::string_view server, std::string_view fingerprint) const;
  // A first-use pin: `fingerprint` for `server` unless the server has a pin already. It counts
  // in this process at once and is appended to the file at the next flush (see above); the file
  // is made owner-only, a link or anything but a regular file is refused, and the pin is then
  // dropped. False for a malformed pin.
  bool PinLater(std::string_view server, std::string_view fingerprint) const;
  // The pins in file order (a server's first line only), then this process's waiting ones;
  // nullopt when the file cannot be read. A link is read through, as for a connect.
  [[nodiscard]] std::optional<std::vector<KnownServer>> List() const;
  // Removes every pin of `server` ("host:port"), a waiting one too, as ssh-keygen -R does: the
  // file is replaced atomically and owner-only; a link or anything but a regular file is refused
  // (kFailed, nothing changed). Lines it cannot read are kept.
  [[nodiscard]] Forgotten Forget(std::string_view server) const;

  [[nodiscard]] const std::filesystem::path& File() const { return file_; }

 private:
  std::filesystem::path file_;
};

// Appends the waiting pins of every file this process uses; false when some could not be
// written (they are dropped, and those servers pinned anew at their next connect).
bool FlushPins() noexcept;
// The same without waiting for a file that another thread is using: for a closing connection
// and the process's end, which must never block.
void FlushPinsUnlessBusy() noexcept;

// How many times this process has read a known-servers file whole and written one, for tests
// and benches of the copy above.
struct KnownServersActivity {
  std::uint64_t reads = 0;
  std::uint64_t writes = 0;
};
[[nodiscard]] KnownServersActivity KnownServersFileActivity();

struct KeyMismatch {
  std::string shown;   // fingerprint the server showed
  std::string pinned;  // fingerprint pinned for it
  std::filesystem::path file;
};
// Kept per server as the caller named it (the connect's `server` text); thread-safe.
void NoteKeyMismatch(std::string_view server, const KeyMismatch& mismatch);
[[nodiscard]] std::optional<KeyMismatch> LastKeyMismatch(std::string_view server);

}  // namespace azu::vireo
