#pragma once
// `zornectl keys`: the servers whose TLS keys this user has pinned, and forgetting one of those
// pins, as ssh-keygen -R does, so that the next connection pins the key the server shows.

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <string>

namespace azu::ctl {

struct KeysCommand {
  enum class Action : std::uint8_t { List, Forget } action = Action::List;
  bool json = false;   // List: one JSON object per server instead of the lines
  std::string server;  // Forget: as a page command takes it ("zorne1", "10.0.0.5:9631")
  // The known-servers file; empty: the one every connection uses.
  std::filesystem::path file;
};

// The exit status: 0 done; 1 the server has no pin, or the file cannot be read or rewritten;
// 2 a server that is no name or address.
int RunKeys(const KeysCommand& command, std::ostream& out, std::ostream& err);

}  // namespace azu::ctl
