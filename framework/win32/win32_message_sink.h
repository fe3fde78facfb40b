#pragma once
// Message boxes as Windows draws them: MessageBoxW over the active window, captioned with the
// application name; the four kinds are Windows' own box types.

#include "framework/message_box.h"

namespace azu {

class Win32MessageSink final : public MessageSink {
 public:
  int Show(std::string_view text, unsigned type) override;
};

}  // namespace azu
