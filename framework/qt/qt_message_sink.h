#pragma once
// Message boxes as Qt windows: modal over the active window, captioned with the application name.

#include "framework/message_box.h"

namespace azu {

class QtMessageSink final : public MessageSink {
 public:
  int Show(std::string_view text, unsigned type) override;
};

}  // namespace azu
