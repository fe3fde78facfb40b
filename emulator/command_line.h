#pragma once
// The emulator's command line:
// zorne-emulator --root DIR [--listen ADDR:PORT] [--name NAME] [--model CODE]
//                [--admin-password-file FILE | --admin-password PW]
//                [--tls-cert FILE --tls-key FILE]
//                [--session-idle SECONDS] [--session-lifetime SECONDS]
// The administrator password may also come from ZORNE_ADMIN_PASSWORD.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "emulator/tls_identity.h"

namespace azu::emulator {

inline constexpr const char* kPasswordVariable = "ZORNE_ADMIN_PASSWORD";

struct Options {
  std::filesystem::path root;
  std::string address = "127.0.0.1";
  std::uint16_t port = 9631;  // 0: a free port, the same for TCP and UDP
  std::string password = "RONDEL";
  std::string name;  // empty: the host name
  std::string model = "QV5010";
  TlsFiles tls;  // none: the emulator's own key in the state folder
  std::chrono::seconds session_idle{600};
  std::chrono::seconds session_lifetime{8 * 3600};
  bool help = false;
};

struct ParsedCommandLine {
  std::optional<Options> options;  // nullopt: `error` says what is wrong
  std::string error;
  std::vector<std::string> warnings;  // for standard error, each one line
};

// `arguments` without the program name; `password_variable` is the value of
// ZORNE_ADMIN_PASSWORD, used when no password option is given (unset or empty: none). Options
// take their value as the next argument or after '='; each may be given once. A password file
// is read here.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments,
                                   const char* password_variable = nullptr);

std::string Usage();

}  // namespace azu::emulator
