#pragma once
// Small files the emulator reads at start, above all secrets (the administrator password, the
// TLS key): those only from a regular file that nobody but its owner may read or change.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace azu::emulator {

struct SmallFileRules {
  bool follow_symlink = true;
  bool owner_only = true;  // refused when group or others have any access
  std::size_t max_size = std::size_t{64} * 1024;
};

// The whole content of `file`; nullopt and `error` (naming the file and what to do) when it is
// missing, not a regular file, larger than allowed, or breaks the rules.
std::optional<std::string> ReadSmallFile(const std::filesystem::path& file,
                                         const SmallFileRules& rules, std::string& error);

// A secret: owner-only, at most 64 KiB; with `follow_symlink` false a symlink is refused too.
inline std::optional<std::string> ReadSecretFile(const std::filesystem::path& file,
                                                 bool follow_symlink, std::string& error) {
  return ReadSmallFile(file, {follow_symlink, true}, error);
}

}  // namespace azu::emulator
