#include "framework/recording_message_sink.h"

namespace azu {

int RecordingMessageSink::Show(std::string_view text, unsigned type) {
  boxes_.push_back({std::string(text), type});
  if (!answers_.empty()) {
    const int answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  return type == kQuestionBox ? IDNO : IDOK;
}

}  // namespace azu
