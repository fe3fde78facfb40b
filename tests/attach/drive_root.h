#pragma once
// A temporary drive E: for one test, seeded with a Zorne server's thirteen live files and their
// variants, with the server-path view of its files.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "attach/file_table.h"
#include "tests/support/environment.h"

namespace azu::test {

class DriveRoot {
 public:
  DriveRoot() { root_ = MakeTempFolder("azudrive"); }
  ~DriveRoot() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  DriveRoot(const DriveRoot&) = delete;
  DriveRoot& operator=(const DriveRoot&) = delete;

  [[nodiscard]] std::string Root() const { return root_.string(); }

  [[nodiscard]] std::filesystem::path Local(std::string_view serverPath) const {
    // In the system's own separators, as the program writes local paths.
    std::filesystem::path local =
        serverPath.starts_with("/not-scsi0/")
            ? root_ / "azu" / "server" / serverPath.substr(11)
            : root_ / serverPath.substr(std::string_view("/harddisk2/").size());
    return local.make_preferred();
  }
  [[nodiscard]] std::filesystem::path Local(int entry) const {
    return Local(kFileTable[static_cast<std::size_t>(entry)]);
  }

  void Write(std::string_view serverPath, std::string_view content) const {
    const auto path = Local(serverPath);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
  }
  void Write(int entry, std::string_view content) const {
    Write(kFileTable[static_cast<std::size_t>(entry)], content);
  }
  [[nodiscard]] std::optional<std::string> Read(std::string_view serverPath) const {
    std::ifstream in(Local(serverPath), std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
  }
  [[nodiscard]] std::optional<std::string> Read(int entry) const {
    return Read(kFileTable[static_cast<std::size_t>(entry)]);
  }
  [[nodiscard]] bool Exists(int entry) const { return std::filesystem::exists(Local(entry)); }

  // Live files: maj_0.cfg with URL=`printerAddress`, the others "live N".
  void SeedLiveFiles(std::string_view printerAddress) const {
    Write(kLiveSet, "Name=zorne\r\nURL=" + std::string(printerAddress) + "\r\nSNMP=1\r\n");
    for (int row = 1; row < kFileSetRows; ++row) Write(kLiveSet + row, LiveContent(row));
  }
  // Variants: "enable"/"disable" texts for rows 1 and 2, address templates for rows 3 to 12.
  void SeedVariants() const {
    for (int row = 1; row < 3; ++row) {
      Write(kDirectSet + row, "direct " + std::to_string(row) + "\n");
      Write(kNetworkSet + row, "network " + std::to_string(row) + "\n");
    }
    for (int row = kFirstAddressRow; row < kFileSetRows; ++row) {
      Write(kDirectSet + row, TemplateContent(row));
    }
  }

  static std::string LiveContent(int row) { return "live " + std::to_string(row) + "\r\n"; }
  static std::string TemplateContent(int row) {
    return "row " + std::to_string(row) +
           "\nprinter=100.100.100.101\nserver=100.100.100.102\nprinter again 100.100.100.101\n";
  }

 private:
  std::filesystem::path root_;
};

}  // namespace azu::test
