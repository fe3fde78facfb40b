#include "emulator/command_line.h"

#include <arpa/inet.h>

#include <charconv>
#include <set>

#include "emulator/discovery.h"

namespace azu::emulator {
namespace {

constexpr long kMostIdleSeconds = 7L * 24 * 3600;

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

std::string SetOption(Options& options, const std::string& name, const std::string& value) {
  if (name == "--root") {
    if (value.empty()) return "--root needs a folder";
    options.root = value;
  } else if (name == "--listen") {
    return SetListen(options, value);
  } else if (name == "--admin-password") {
    options.password = value;
  } else if (name == "--name") {
    if (!IsValidIdentityText(value)) return "--name: 1 to 255 bytes, no control characters";
    options.name = value;
  } else if (name == "--model") {
    if (!IsValidIdentityText(value)) return "--model: 1 to 255 bytes, no control characters";
    options.model = value;
  } else if (name == "--session-idle") {
    const std::optional<long> seconds = ParseNumber(value, 1L, kMostIdleSeconds);
    if (!seconds) return "--session-idle: seconds from 1 to " + std::to_string(kMostIdleSeconds);
    options.session_idle = std::chrono::seconds(*seconds);
  } else {
    return "unknown option " + name;
  }
  return {};
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  Options options;
  std::set<std::string> seen;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      options.help = true;
      return {options, {}};
    }
    std::string name = argument;
    std::string value;
    if (const std::size_t equals = argument.find('='); equals != std::string::npos) {
      name = argument.substr(0, equals);
      value = argument.substr(equals + 1);
    } else if (!argument.starts_with("--")) {
      return {std::nullopt, "unexpected argument " + argument};
    } else if (i + 1 < arguments.size()) {
      value = arguments[++i];
    } else {
      return {std::nullopt, name + " needs a value"};
    }
    if (!seen.insert(name).second) return {std::nullopt, name + " given twice"};
    if (std::string error = SetOption(options, name, value); !error.empty()) {
      return {std::nullopt, error};
    }
  }
  if (options.root.empty()) return {std::nullopt, "--root is required"};
  return {options, {}};
}

std::string Usage() {
  return "usage: zorne-emulator --root DIR [--listen ADDR:PORT] [--admin-password PW]\n"
         "                      [--name NAME] [--model CODE] [--session-idle SECONDS]\n"
         "  --root DIR           the server's drive E: (created when missing)\n"
         "  --listen ADDR:PORT   IPv4 address and port for HTTP and discovery (default\n"
         "                       127.0.0.1:9631; port 0 chooses a free one)\n"
         "  --admin-password PW  password of the user admin (default RONDEL)\n"
         "  --name NAME          the server's name in discovery answers (default: host name)\n"
         "  --model CODE         the copier's model code (default QV5010)\n"
         "  --session-idle SECS  a session ends after this long unused (default 600)\n";
}

}  // namespace azu::emulator
