#pragma once
// Secrets for zornectl: never command-line arguments (other users can read those), but files
// that only their owner can read, the ZORNE_PASSWORD variable, or a prompt without echo
// (console.h).

#include <cstddef>
#include <optional>
#include <string>

namespace azu::ctl {

inline constexpr std::size_t kMaxSecret = 4096;

// The content of `path` without one final line end. nullopt with the reason in `*error` when the
// file cannot be read, can be read by others than its owner, or holds a line break inside. On
// POSIX "others" are the group and everyone; on Windows any account but the owner, SYSTEM and
// the Administrators group that the file's access list lets read it.
std::optional<std::string> ReadSecretFile(const std::string& path, std::string* error);

// `text` without one final line end ("\n" or "\r\n").
std::string WithoutLineEnd(std::string text);
// The secret a file's bytes hold; nullopt with the reason in `*why` when they hold a line break
// inside or more than kMaxSecret bytes.
std::optional<std::string> SecretOfContent(std::string content, std::string* why);

}  // namespace azu::ctl
