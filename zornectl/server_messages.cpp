#include "zornectl/server_messages.h"

#include "app/cp1252.h"

namespace azu::ctl {

int MessageCapture::Show(std::string_view text, unsigned type) {
  texts.push_back(Cp1252ToUtf8(text));
  return type == kQuestionBox ? IDNO : IDOK;
}

std::string FailureMessage(const MessageCapture& capture, VIREO_STATUS status, bool deadlinePassed,
                           int deadlineSeconds, std::string_view fallback) {
  if (deadlinePassed) {
    return "gave up: the deadline of " + std::to_string(deadlineSeconds) + " s passed";
  }
  std::string message = capture.texts.empty() ? std::string(fallback) : capture.texts.back();
  if (const std::string meaning = StatusMeaning(status); !meaning.empty()) {
    message += " (" + meaning + ")";
  }
  return message;
}

std::string StatusMeaning(VIREO_STATUS status) {
  switch (status) {
    case VIREO_E_UNREACHABLE:
      return "the server cannot be reached";
    case VIREO_E_AUTH:
      return "the server refused the password";
    case VIREO_E_HOSTKEY:
      return "the server's key is not the one pinned for it";
    case VIREO_E_CONFLICT:
      return "the file changed on the server meanwhile";
    case VIREO_E_SESSION_ENDED:
      return "the server ended the session";
    case VIREO_E_PROTOCOL:
      return "the connection broke or the answer was not understood";
    default:
      return "";
  }
}

}  // namespace azu::ctl
