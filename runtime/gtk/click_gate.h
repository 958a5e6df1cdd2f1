// Whether a page's own navigation may follow a click. The page reports its clicks to us; the
// handler's answer arrives after the page has gone on, so a navigation that the click asks for
// is held here until the answer is known and then allowed or dropped.
#pragma once

#include <cstdint>
#include <optional>

namespace kesto::gtk {

class ClickGate {
 public:
  enum class Decision { kAllow, kIgnore, kWait };

  // A cancelled click stops a navigation that follows within this many milliseconds.
  static constexpr std::int64_t kVerdictLifeMs = 1000;

  // The handler starts on a click; then it answers whether the page may go on. A handler that
  // pumps events may see further clicks before it answers: their navigations wait for the
  // outermost answer, and any cancel among them cancels. Times are monotonic milliseconds.
  void ClickStarted();
  void ClickAnswered(bool pageMayGoOn, std::int64_t nowMs);
  bool Pending() const { return running_ > 0; }

  // For a navigation the user's gesture started: wait while the handler runs; drop it when
  // the last click was cancelled a moment ago (each cancel drops one navigation).
  Decision ForUserNavigation(std::int64_t nowMs);
  // Once the answer is in, for the navigations that waited for it: all of them belong to the
  // clicks just answered, so one verdict holds for them all and is used up.
  Decision ForWaitingNavigations();

 private:
  int running_ = 0;
  bool cancelled_ = false;
  std::optional<std::int64_t> cancelledAtMs_;
};

}  // namespace kesto::gtk
