#include "zornectl/keys.h"

#include <nlohmann/json.hpp>
#include <ostream>

#include "vireo/known_servers.h"
#include "zornectl/options.h"

namespace azu::ctl {
namespace {

std::string Utf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return {text.begin(), text.end()};
}

int List(const vireo::KnownServers& known, bool json, std::ostream& out, std::ostream& err) {
  const auto servers = known.List();
  if (!servers) {
    err << "zornectl: " << Utf8(known.File())
        << ": cannot be read (not a regular file, or too large for a known-servers file)\n";
    return kExitSomeFailed;
  }
  for (const vireo::KnownServer& pin : *servers) {
    if (json) {
      // A hand-edited line may hold any bytes; the JSON stays valid all the same.
      out << nlohmann::ordered_json{{"server", pin.server}, {"fingerprint", pin.fingerprint}}.dump(
                 -1, ' ', false, nlohmann::json::error_handler_t::replace)
          << "\n";
    } else {
      out << pin.server << "  " << pin.fingerprint << "\n";
    }
  }
  return kExitDone;
}

int Forget(const vireo::KnownServers& known, const std::string& server, std::ostream& out,
           std::ostream& err) {
  // The name the server's connections pinned it under: "zorne1" is "zorne1:9631".
  const auto name = vireo::PinNameOf(server);
  if (!name) {
    err << "zornectl: " << server << ": not a server name or address\n";
    return kExitUsage;
  }
  const vireo::Forgotten forgotten = known.Forget(*name);
  const std::string file = Utf8(known.File());
  switch (forgotten.outcome) {
    case vireo::Forgotten::Outcome::kForgotten:
      out << *name << ": key " << forgotten.fingerprint << " forgotten from " << file
          << "; the next connection pins the key the server shows\n";
      return kExitDone;
    case vireo::Forgotten::Outcome::kNotPinned:
      err << "zornectl: " << *name << " has no pinned key in " << file << "\n";
      return kExitSomeFailed;
    case vireo::Forgotten::Outcome::kFailed:
      break;
  }
  err << "zornectl: " << file
      << ": cannot be rewritten (a link, not a regular file, or not writable); nothing was "
         "forgotten\n";
  return kExitSomeFailed;
}

}  // namespace

int RunKeys(const KeysCommand& command, std::ostream& out, std::ostream& err) {
  const std::filesystem::path file =
      command.file.empty() ? vireo::DefaultKnownServersFile() : command.file;
  if (file.empty()) {
#ifdef _WIN32
    err << "zornectl: no known-servers file: neither VIREO_KNOWN_SERVERS nor APPDATA is set\n";
#else
    err << "zornectl: no known-servers file: neither VIREO_KNOWN_SERVERS nor HOME is set\n";
#endif
    return kExitSomeFailed;
  }
  const vireo::KnownServers known(file);
  return command.action == KeysCommand::Action::Forget ? Forget(known, command.server, out, err)
                                                       : List(known, command.json, out, err);
}

}  // namespace azu::ctl
