// State shared by the headless frame's files.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "runtime/headless/frame.h"

namespace kesto::headless::detail {

struct FrameState {
  std::mutex lock;
  std::condition_variable posted;
  std::deque<std::function<void()>> tasks;
  std::deque<int> answers;
  std::vector<MessageRecord> messages;
  std::optional<int> endedExitCode;
  std::thread::id uiThread = std::this_thread::get_id();
};

FrameState& Frame();

}  // namespace kesto::headless::detail
