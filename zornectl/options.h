#pragma once
// zornectl's command line: the commands, their options and the usage errors (exit status 2).

#include <optional>

#include "zornectl/keys.h"
#include "zornectl/request.h"

namespace azu::ctl {

inline constexpr int kExitDone = 0;
inline constexpr int kExitSomeFailed = 1;
inline constexpr int kExitUsage = 2;

struct Command {
  enum class Kind : std::uint8_t { Page, Show, Discover, Keys, Finished } kind = Kind::Finished;
  Request request;           // Page; Show: its servers, parallel, deadline, json and password
  bool reveal = false;       // Show
  KeysCommand keys;          // Keys
  bool json = false;         // Discover
  int exitCode = kExitDone;  // Finished: help was shown (0) or a usage error was told (2)
};

// Parses the arguments; help and usage errors are written to standard output and error.
Command ParseCommandLine(int argc, char** argv);

}  // namespace azu::ctl
