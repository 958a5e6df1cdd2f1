#include "tools/updater/transfer_progress.h"

#include <algorithm>
#include <atomic>

namespace kesto::updater {

namespace {
std::atomic<std::uint64_t> expectedBytes{0};
std::atomic<std::uint64_t> receivedBytes{0};
std::atomic<bool> cancelled{false};
constexpr std::uint64_t kWholeShare = 10000;
}  // namespace

void ExpectTransfer(std::uint64_t expected) {
  expectedBytes = expected;
  receivedBytes = 0;
}

void NoteReceived(std::uint64_t bytes) {
  receivedBytes += bytes;
}

int TransferShare() {
  const std::uint64_t expected = expectedBytes;
  if (expected == 0) return 0;
  return static_cast<int>(std::min(receivedBytes * kWholeShare / expected, kWholeShare));
}

void CancelTransfer() {
  cancelled = true;
}

bool TransferCancelled() {
  return cancelled;
}

void ResetTransfer() {
  ExpectTransfer(0);
  cancelled = false;
}

}  // namespace kesto::updater
