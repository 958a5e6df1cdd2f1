// Message boxes and event processing, handed to the toolkit.
#include "runtime/core.h"
#include "runtime/toolkit.h"

namespace kesto {

int ShowMessage(const Text& message, int flags, const Text& caption) {
  if (!(flags & kMbSystemModal)) flags |= kMbTaskModal;
  return toolkit::MessageBox(message, caption, flags);
}

int ShowMessage(int message, int flags, const Text& caption) {
  return ShowMessage(ToText(message), flags, caption);
}

int ShowMessage(bool message, int flags, const Text& caption) {
  return ShowMessage(ToText(message), flags, caption);
}

void ProcessEvents() {
  toolkit::ProcessEvents();
}

}  // namespace kesto
