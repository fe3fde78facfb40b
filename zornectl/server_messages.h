#pragma once
// What a server's run in zornectl tells: the boxes it showed, kept as its messages, and what a
// library status means where the page's own text leaves it open.

#include <string>
#include <string_view>
#include <vector>

#include "framework/message_box.h"
#include "server/vireo.h"

namespace azu::ctl {

// The boxes a server's run shows, kept as its messages; no question is ever answered Yes.
class MessageCapture final : public MessageSink {
 public:
  int Show(std::string_view text, unsigned type) override;
  std::vector<std::string> texts;
};

// The message of a run that did not go through: the deadline when it passed, else the last box
// shown (`fallback` without one) and what the status means.
std::string FailureMessage(const MessageCapture& capture, VIREO_STATUS status, bool deadlinePassed,
                           int deadlineSeconds, std::string_view fallback);

// What the library's status says, for a reason that the page's text leaves open (the page says
// the same for a wrong password and an unreachable server); empty for the others.
std::string StatusMeaning(VIREO_STATUS status);

}  // namespace azu::ctl
