#include "emulator/command_line.h"

#include <arpa/inet.h>

#include <charconv>
#include <set>

#include "emulator/discovery.h"
#include "emulator/secret_file.h"

namespace azu::emulator {
namespace {

constexpr long kMostSessionSeconds = 7L * 24 * 3600;

template <typename Number>
std::optional<Number> ParseNumber(const std::string& text, Number lowest, Number highest) {
  Number value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < lowest ||
      value > highest) {
    return std::nullopt;
  }
  return value;
}

std::string SetListen(Options& options, const std::string& text) {
  const std::size_t colon = text.rfind(':');
  if (colon == std::string::npos) return "--listen needs ADDR:PORT";
  const std::string address = text.substr(0, colon);
  in_addr parsed{};
  if (::inet_pton(AF_INET, address.c_str(), &parsed) != 1) {
    return "--listen: not an IPv4 address: " + address;
  }
  const std::optional<int> port = ParseNumber(text.substr(colon + 1), 0, 65535);
  if (!port) return "--listen: not a port number: " + text.substr(colon + 1);
  options.address = address;
  options.port = static_cast<std::uint16_t>(*port);
  return {};
}

// The password is the file's first line, without its line end.
std::string ReadPasswordFile(Options& options, const std::string& file) {
  if (file.empty()) return "--admin-password-file needs a file";
  std::string error;
  const std::optional<std::string> content = ReadSecretFile(file, true, error);
  if (!content) return "--admin-password-file: " + error;
  std::string line = content->substr(0, content->find('\n'));
  if (line.ends_with('\r')) line.pop_back();
  if (line.empty()) return "--admin-password-file: " + file + ": the first line is empty";
  options.password = std::move(line);
  return {};
}

std::string SetOption(Options& options, const std::string& name, const std::string& value) {
  if (name == "--root") {
    if (value.empty()) return "--root needs a folder";
    options.root = value;
  } else if (name == "--listen") {
    return SetListen(options, value);
  } else if (name == "--admin-password") {
    options.password = value;
  } else if (name == "--admin-password-file") {
    return ReadPasswordFile(options, value);
  } else if (name == "--tls-cert" || name == "--tls-key") {
    if (value.empty()) return name + " needs a file";
    (name == "--tls-cert" ? options.tls.certificate : options.tls.key) = value;
  } else if (name == "--name") {
    if (!IsValidIdentityText(value)) return "--name: 1 to 255 bytes, no control characters";
    options.name = value;
  } else if (name == "--model") {
    if (!IsValidIdentityText(value)) return "--model: 1 to 255 bytes, no control characters";
    options.model = value;
  } else if (name == "--session-idle" || name == "--session-lifetime") {
    const std::optional<long> seconds = ParseNumber(value, 1L, kMostSessionSeconds);
    if (!seconds) return name + ": seconds from 1 to " + std::to_string(kMostSessionSeconds);
    (name == "--session-idle" ? options.session_idle : options.session_lifetime) =
        std::chrono::seconds(*seconds);
  } else {
    return "unknown option " + name;
  }
  return {};
}

ParsedCommandLine Refused(std::string error) {
  return {std::nullopt, std::move(error), {}};
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments,
                                   const char* password_variable) {
  Options options;
  std::set<std::string> seen;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      options.help = true;
      return {options, {}, {}};
    }
    std::string name = argument;
    std::string value;
    if (const std::size_t equals = argument.find('='); equals != std::string::npos) {
      name = argument.substr(0, equals);
      value = argument.substr(equals + 1);
    } else if (!argument.starts_with("--")) {
      return Refused("unexpected argument " + argument);
    } else if (i + 1 < arguments.size()) {
      value = arguments[++i];
    } else {
      return Refused(name + " needs a value");
    }
    if (!seen.insert(name).second) return Refused(name + " given twice");
    if (std::string error = SetOption(options, name, value); !error.empty()) {
      return Refused(error);
    }
  }
  if (options.root.empty()) return Refused("--root is required");
  if (options.tls.key.has_value() != options.tls.certificate.has_value()) {
    return Refused("--tls-cert and --tls-key go together");
  }
  const bool in_argument = seen.contains("--admin-password");
  if (in_argument && seen.contains("--admin-password-file")) {
    return Refused("--admin-password and --admin-password-file exclude each other");
  }
  ParsedCommandLine parsed{options, {}, {}};
  if (in_argument) {
    parsed.warnings.push_back(
        "warning: other local users can read a password given on the command line; use "
        "--admin-password-file or " +
        std::string(kPasswordVariable) + " instead");
  } else if (!seen.contains("--admin-password-file") && password_variable != nullptr &&
             *password_variable != '\0') {
    parsed.options->password = password_variable;
  }
  return parsed;
}

std::string Usage() {
  return "usage: zorne-emulator --root DIR [--listen ADDR:PORT] [--name NAME] [--model CODE]\n"
         "                      [--admin-password-file FILE | --admin-password PW]\n"
         "                      [--tls-cert FILE --tls-key FILE]\n"
         "                      [--session-idle SECONDS] [--session-lifetime SECONDS]\n"
         "  --root DIR           the server's drive E: (created when missing)\n"
         "  --listen ADDR:PORT   IPv4 address and port for HTTPS and discovery (default\n"
         "                       127.0.0.1:9631; port 0 chooses a free one)\n"
         "  --name NAME          the server's name in discovery answers (default: host name)\n"
         "  --model CODE         the copier's model code (default QV5010)\n"
         "  --admin-password-file FILE\n"
         "                       password of the user admin: the file's first line; the file\n"
         "                       must be readable by its owner only\n"
         "  --admin-password PW  the same on the command line, where other local users can\n"
         "                       read it; without either option the password is the\n"
         "                       environment variable ZORNE_ADMIN_PASSWORD, else RONDEL\n"
         "  --tls-cert FILE      the server's certificate (PEM, chain allowed) and its private\n"
         "  --tls-key FILE       key (PEM, unencrypted, owner-only); without them a key and a\n"
         "                       self-signed certificate are made once in DIR/.zorne/\n"
         "  --session-idle SECS  a session ends after this long unused (default 600)\n"
         "  --session-lifetime SECS\n"
         "                       a session ends this long after its login, however busy\n"
         "                       (default 28800)\n";
}

}  // namespace azu::emulator
