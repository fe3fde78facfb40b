#pragma once
// The emulator's command line:
// zorne-emulator --root DIR [--listen ADDR:PORT] [--admin-password PW] [--name NAME]
//                [--model CODE] [--session-idle SECONDS]

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace azu::emulator {

struct Options {
  std::filesystem::path root;
  std::string address = "127.0.0.1";
  std::uint16_t port = 9631;  // 0: a free port, the same for TCP and UDP
  std::string password = "RONDEL";
  std::string name;  // empty: the host name
  std::string model = "QV5010";
  std::chrono::seconds session_idle{600};
  bool help = false;
};

struct ParsedCommandLine {
  std::optional<Options> options;  // nullopt: `error` says what is wrong
  std::string error;
};

// `arguments` without the program name. Options take their value as the next argument or after
// '='; each may be given once.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

std::string Usage();

}  // namespace azu::emulator
