#include "zornectl/options.h"

#include <CLI/CLI.hpp>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "app/text_table.h"
#include "framework/ipv4_text.h"
#include "zornectl/console.h"
#include "zornectl/secret_file.h"

namespace azu::ctl {
namespace {

constexpr const char* kPasswordVariable = "ZORNE_PASSWORD";
constexpr int kMaxParallel = 256;
constexpr int kMaxDeadlineSeconds = 3600;

// Options that would put a secret where every user of the machine can read it, and the file
// option to use instead.
constexpr std::array<std::pair<std::string_view, std::string_view>, 8> kSecretArguments = {{
    {"--password", "--zorne-password-file"},
    {"--zorne-password", "--zorne-password-file"},
    {"--new-password", "--new-password-file"},
    {"--admin-password", "--new-password-file"},
    {"--passcode", "--passcode-file"},
    {"--ftp-password", "--ftp-password-file"},
    {"--auth-password", "--auth-password-file"},
    {"--priv-password", "--priv-password-file"},
}};

Command UsageError(const std::string& message) {
  std::cerr << "zornectl: " << message << "\nRun with --help for the options.\n";
  Command command;
  command.exitCode = kExitUsage;
  return command;
}

// A text option's value must stay on its line of the server's file.
const CLI::Validator kOneLine(
    [](const std::string& value) {
      return value.find_first_of("\r\n") == std::string::npos ? std::string()
                                                              : std::string("holds a line break");
    },
    "TEXT");

const CLI::Validator kIpv4(
    [](std::string& value) {
      const std::optional<std::uint32_t> parsed = ParseIPv4Strict(value);
      if (!parsed) return std::string("not an IPv4 address");
      value = FormatIPv4(*parsed);  // as the address control shows it
      return std::string();
    },
    "A.B.C.D");

// Servers from a file: one per line, '#' starts a comment, blank lines are skipped.
bool ReadServersFile(const std::string& path, std::vector<std::string>& servers,
                     std::string& error) {
  std::ifstream in(path);
  if (!in) {
    error = path + ": cannot be read";
    return false;
  }
  std::string line;
  while (std::getline(in, line)) {
    line = line.substr(0, line.find('#'));
    const std::size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos) continue;
    const std::size_t last = line.find_last_not_of(" \t\r");
    servers.push_back(line.substr(first, last - first + 1));
  }
  return true;
}

struct Common {
  std::vector<std::string> servers;
  std::string serversFile;
  std::string reboot = "no";
  std::string backup;
  std::string zornePasswordFile;
};

// The options of every command that reaches servers; `writes` adds those of the page commands.
void AddCommon(CLI::App& page, Request& request, Common& common, bool writes = true) {
  page.add_option("servers", common.servers, "Zorne servers: name, address or address:port")
      ->check(kOneLine);
  page.add_option("--servers-file", common.serversFile,
                  "more servers, one per line ('#' comments, blank lines skipped)")
      ->check(CLI::ExistingFile);
  if (writes) {
    page.add_flag("--dry-run", request.dryRun,
                  "fetch and compute, print a unified diff per server, store nothing");
    page.add_option("--reboot", common.reboot, "reboot each server whose file was stored")
        ->check(CLI::IsMember({"no", "yes"}));
    page.add_option("--backup", common.backup,
                    "keep each server's previous file as DIR/SERVER/path");
  }
  page.add_option("--parallel", request.parallel, "servers worked on at once")
      ->check(CLI::Range(1, kMaxParallel));
  page.add_option("--deadline", request.deadlineSeconds, "seconds each server may take")
      ->check(CLI::Range(1, kMaxDeadlineSeconds));
  page.add_flag("--json", request.json, "one JSON object per server instead of the table");
  page.add_option("--zorne-password-file", common.zornePasswordFile,
                  "the servers' administrator password (else ZORNE_PASSWORD, else a prompt)");
}

}  // namespace

Command ParseCommandLine(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    for (const auto& [name, instead] : kSecretArguments) {
      if (argument == name || (argument.starts_with(name) && argument[name.size()] == '=')) {
        return UsageError(std::string(name) +
                          " would put a secret on the command line, where others can read it; "
                          "use " +
                          std::string(instead) + " FILE");
      }
    }
  }

  CLI::App app{"Configures Zorne servers from the command line, one or many at once.", "zornectl"};
  app.require_subcommand(1);
  Command command;
  command.kind = Command::Kind::Page;
  Request& request = command.request;
  Common common;
  // Secret options name files; their contents are read once the command line is sound.
  std::string adminFile;
  std::string passcodeFile;
  std::string ftpPasswordFile;
  std::string authFile;
  std::string privFile;
  std::string getCommunityFile;
  std::string setCommunityFile;
  std::string system = "none";
  std::string type = "default";
  std::string snmpVersion = "1";

  CLI::App* discover = app.add_subcommand("discover", "list the Zorne servers a search finds");
  discover->add_flag("--json", command.json, "one JSON object per server");

  CLI::App* keys = app.add_subcommand(
      "keys", "list the servers whose keys are pinned, and the keys' fingerprints");
  keys->add_flag("--json", command.keys.json, "one JSON object per server");
  CLI::App* forget = keys->add_subcommand(
      "forget", "forget a server's pinned key; its next connection pins the key it shows");
  forget->add_option("server", command.keys.server, "the server: name, address or address:port")
      ->required();

  CLI::App* show = app.add_subcommand(
      "show", "read what each server holds, in the page options' own values (stores nothing)");
  show->add_flag("--reveal", command.reveal,
                 "print passwords, passcodes and community names instead of set / not set");

  CLI::App* admin = app.add_subcommand("admin", "set the Zorne administrator password");
  admin->add_option("--new-password-file", adminFile, "file holding the new password");

  CLI::App* accounting = app.add_subcommand("accounting", "set print accounting");
  accounting->add_option("--system", system, "accounting system")
      ->check(CLI::IsMember({"none", "standard", "network"}));
  accounting->add_option("--type", type, "account type")
      ->check(CLI::IsMember({"default", "general", "group"}));
  accounting->add_option("--account-id", request.accounting.accountId, "account ID")
      ->check(kOneLine);
  accounting->add_option("--user-id", request.accounting.userId, "user ID")->check(kOneLine);

  CLI::App* tallyon = app.add_subcommand("tallyon", "set the job-audit credentials");
  tallyon->add_option("--user-id", request.tallyon.userId, "user ID")->check(kOneLine);
  tallyon->add_option("--passcode-file", passcodeFile, "file holding the passcode");

  CLI::App* ftp = app.add_subcommand("ftp", "set the scan-to-FTP destination");
  ftp->add_option("--host", request.ftp.host, "FTP server")->check(kOneLine);
  ftp->add_option("--user", request.ftp.userName, "FTP user name")->check(kOneLine);
  ftp->add_option("--ftp-password-file", ftpPasswordFile, "file holding the FTP password");
  ftp->add_option("--destination", request.ftp.destination, "folder on the FTP server")
      ->check(kOneLine);

  CLI::App* http = app.add_subcommand("http", "set the HTTP and HTTPS ports");
  http->add_option("--http-port", request.http.httpPort, "HTTP port (default 80)")
      ->check(CLI::Range(0U, kMaxPort));
  http->add_option("--https-port", request.http.httpsPort, "HTTPS port (default 443)")
      ->check(CLI::Range(0U, kMaxPort));

  CLI::App* snmp = app.add_subcommand("snmp", "set the SNMP version and its credentials");
  snmp->add_option("--version", snmpVersion, "SNMP version")->check(CLI::IsMember({"1", "3"}));
  // A community is a credential too: from a file, it stays out of the process list.
  CLI::Option* getCommunity =
      snmp->add_option("--get-community", request.snmp.getCommunity, "read community (version 1)")
          ->check(kOneLine);
  CLI::Option* setCommunity =
      snmp->add_option("--set-community", request.snmp.setCommunity, "write community (version 1)")
          ->check(kOneLine);
  snmp->add_option("--get-community-file", getCommunityFile, "file holding the read community")
      ->excludes(getCommunity);
  snmp->add_option("--set-community-file", setCommunityFile, "file holding the write community")
      ->excludes(setCommunity);
  snmp->add_option("--auth-password-file", authFile, "file holding the authentication password");
  snmp->add_option("--priv-password-file", privFile, "file holding the privacy password");

  CLI::App* dualIp = app.add_subcommand("dual-ip", "add or delete the server's second address");
  request.dualIp.mask = kDefaultDualIpMask;
  CLI::Option* address =
      dualIp->add_option("--address", request.dualIp.address, "second address")->check(kIpv4);
  CLI::Option* mask =
      dualIp->add_option("--mask", request.dualIp.mask, "its subnet mask (default 255.255.255.255)")
          ->check(kIpv4);
  bool deleteDualIp = false;
  CLI::Option* remove =
      dualIp->add_flag("--delete", deleteDualIp, "delete the second address and its rules");
  remove->excludes(address)->excludes(mask);

  for (CLI::App* page : {admin, accounting, tallyon, ftp, http, snmp, dualIp}) {
    AddCommon(*page, request, common);
  }
  AddCommon(*show, request, common, false);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    command.kind = Command::Kind::Finished;
    command.exitCode = app.exit(error) == 0 ? kExitDone : kExitUsage;
    return command;
  }
  if (discover->parsed()) {
    command.kind = Command::Kind::Discover;
    return command;
  }
  if (keys->parsed()) {
    command.kind = Command::Kind::Keys;
    if (forget->parsed()) command.keys.action = KeysCommand::Action::Forget;
    return command;
  }
  for (CLI::App* page : {admin, accounting, tallyon, ftp, http, snmp, dualIp, show}) {
    if (page->parsed()) request.page = page->get_name();
  }
  if (show->parsed()) command.kind = Command::Kind::Show;

  // Secrets from their files.
  const std::pair<const std::string*, std::string*> secrets[] = {
      {&adminFile, &request.admin.newPassword},
      {&passcodeFile, &request.tallyon.passcode},
      {&ftpPasswordFile, &request.ftp.password},
      {&authFile, &request.snmp.authPassword},
      {&privFile, &request.snmp.privPassword},
      {&getCommunityFile, &request.snmp.getCommunity},
      {&setCommunityFile, &request.snmp.setCommunity},
  };
  for (const auto& [file, field] : secrets) {
    if (file->empty()) continue;
    std::string error;
    const auto secret = ReadSecretFile(*file, &error);
    if (!secret) return UsageError(error);
    *field = *secret;
  }

  const auto systemIndex = static_cast<std::size_t>(
      system == "none" ? 0 : (system == "standard" ? kStandardAccounting : 2));
  const auto typeIndex =
      static_cast<std::size_t>(type == "default" ? 0 : (type == "general" ? 1 : 2));
  request.accounting.systemIndex = static_cast<int>(systemIndex);
  request.accounting.systemText = GetText(kAccountingSystemKeys[systemIndex]);
  request.accounting.typeText = GetText(kAccountTypeKeys[typeIndex]);
  request.snmp.version = snmpVersion == "1" ? kSnmpVersion1 : kSnmpVersion3;
  if (request.page == "dual-ip") {
    if (!deleteDualIp && request.dualIp.address.empty()) {
      return UsageError("dual-ip needs --address A (or --delete)");
    }
    request.dualIp.mode = deleteDualIp ? kDualIpDelete : kDualIpAdd;
  }
  request.reboot = common.reboot == "yes";
  if (!common.backup.empty()) request.backupDir = common.backup;

  request.servers = common.servers;
  if (!common.serversFile.empty()) {
    std::string error;
    if (!ReadServersFile(common.serversFile, request.servers, error)) return UsageError(error);
  }
  if (request.servers.empty()) return UsageError("no server given (arguments or --servers-file)");

  if (!common.zornePasswordFile.empty()) {
    std::string error;
    const auto password = ReadSecretFile(common.zornePasswordFile, &error);
    if (!password) return UsageError(error);
    request.zornePassword = *password;
  } else if (const char* variable = std::getenv(kPasswordVariable); variable != nullptr) {
    request.zornePassword = variable;
  } else if (InputIsTerminal()) {
    const auto typed = PromptWithoutEcho("Zorne administrator password: ");
    if (!typed) return UsageError("no password was typed");
    request.zornePassword = *typed;
  } else {
    return UsageError("no Zorne password: use --zorne-password-file FILE or ZORNE_PASSWORD");
  }
  return command;
}

}  // namespace azu::ctl
