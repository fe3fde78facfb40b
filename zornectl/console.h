#pragma once
// What zornectl asks of the console or terminal: whether a stream is one, and a password typed
// without echo.

#include <cstdio>
#include <optional>
#include <string>

namespace azu::ctl {

[[nodiscard]] bool IsTerminal(std::FILE* stream);
[[nodiscard]] bool InputIsTerminal();

// Asks on the terminal (the console on Windows) without echo; nullopt when there is none or the
// input ended.
std::optional<std::string> PromptWithoutEcho(const std::string& prompt);

}  // namespace azu::ctl
