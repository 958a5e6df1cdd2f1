// Message boxes of the headless toolkit: answered from the queue and recorded.
#include "runtime/headless/frame_state.h"
#include "runtime/toolkit.h"

namespace kesto {

namespace headless {

void QueueAnswer(int answer) {
  auto& frame = detail::Frame();
  std::lock_guard<std::mutex> guard(frame.lock);
  frame.answers.push_back(answer);
}

std::vector<MessageRecord> MessageBoxes() {
  auto& frame = detail::Frame();
  std::lock_guard<std::mutex> guard(frame.lock);
  return frame.messages;
}

}  // namespace headless

int toolkit::MessageBox(const Text& text, const Text& caption, int flags) {
  auto& frame = headless::detail::Frame();
  std::lock_guard<std::mutex> guard(frame.lock);
  int answer = kIdOk;
  if (!frame.answers.empty()) {
    answer = frame.answers.front();
    frame.answers.pop_front();
  }
  frame.messages.push_back({text, caption, flags, answer});
  return answer;
}

}  // namespace kesto
