#pragma once
// Secrets for zornectl: never command-line arguments (other users can read those), but files
// that only their owner can read, the ZORNE_PASSWORD variable, or a prompt without echo.

#include <optional>
#include <string>

namespace azu::ctl {

// The content of `path` without one final line end. nullopt with the reason in `*error` when the
// file cannot be read, can be read by its group or others, or holds a line break inside.
std::optional<std::string> ReadSecretFile(const std::string& path, std::string* error);

// Asks on the terminal without echo; nullopt when there is no terminal or the input ended.
std::optional<std::string> PromptWithoutEcho(const std::string& prompt);

}  // namespace azu::ctl
