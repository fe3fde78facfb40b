#pragma once
// A message sink for tests: records every box and answers from a script.

#include <deque>
#include <string>
#include <vector>

#include "framework/message_box.h"

namespace azu {

class RecordingMessageSink final : public MessageSink {
 public:
  struct Box {
    std::string text;  // Windows-1252, as shown
    unsigned type;
  };

  int Show(std::string_view text, unsigned type) override;

  // The answer to the next box; without one, OK boxes answer IDOK and questions IDNO.
  void SetNextAnswer(int answer) { answers_.push_back(answer); }
  [[nodiscard]] const std::vector<Box>& Boxes() const { return boxes_; }
  void Clear() { boxes_.clear(); }

 private:
  std::vector<Box> boxes_;
  std::deque<int> answers_;
};

}  // namespace azu
