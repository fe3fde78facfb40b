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

// What the library's status says, for a reason that the page's text leaves open (the page says
// the same for a wrong password and an unreachable server); empty for the others.
std::string StatusMeaning(VIREO_STATUS status);

}  // namespace azu::ctl
