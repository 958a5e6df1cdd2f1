#include "runtime/gtk/click_gate.h"

namespace kesto::gtk {

void ClickGate::ClickStarted() {
  if (running_++ == 0) {
    cancelled_ = false;
    cancelledAtMs_.reset();
  }
}

void ClickGate::ClickAnswered(bool pageMayGoOn, std::int64_t nowMs) {
  if (running_ == 0) return;
  cancelled_ |= !pageMayGoOn;
  if (--running_ > 0) return;
  if (cancelled_) cancelledAtMs_ = nowMs;
}

ClickGate::Decision ClickGate::ForUserNavigation(std::int64_t nowMs) {
  if (running_ > 0) return Decision::kWait;
  const bool cancelled = cancelledAtMs_ && nowMs - *cancelledAtMs_ <= kVerdictLifeMs;
  cancelledAtMs_.reset();
  return cancelled ? Decision::kIgnore : Decision::kAllow;
}

ClickGate::Decision ClickGate::ForWaitingNavigations() {
  if (running_ > 0) return Decision::kWait;
  const bool cancelled = cancelledAtMs_.has_value();
  cancelledAtMs_.reset();
  return cancelled ? Decision::kIgnore : Decision::kAllow;
}

}  // namespace kesto::gtk
