#include "zornectl/secret_file.h"

namespace azu::ctl {

std::string WithoutLineEnd(std::string text) {
  if (!text.empty() && text.back() == '\n') text.pop_back();
  if (!text.empty() && text.back() == '\r') text.pop_back();
  return text;
}

std::optional<std::string> SecretOfContent(std::string content, std::string* why) {
  if (content.size() > kMaxSecret) {
    *why = "too long for a secret";
    return std::nullopt;
  }
  content = WithoutLineEnd(std::move(content));
  if (content.find_first_of("\r\n") != std::string::npos) {
    *why = "holds a line break";
    return std::nullopt;
  }
  return content;
}

}  // namespace azu::ctl
