#include "update/transfer_progress.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

namespace kesto::update {

namespace {
std::atomic<std::uint64_t> expectedBytes{0};
std::atomic<std::uint64_t> receivedBytes{0};
constexpr std::uint64_t kWholeShare = 10000;

// The cancel and the sessions it closes change together: a session is closed once, by the
// cancel or by its download.
std::mutex sessionsMutex;
std::vector<inet::Handle> watchedSessions;
std::atomic<bool> cancelled{false};
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
  std::lock_guard lock(sessionsMutex);
  cancelled = true;
  for (inet::Handle session : watchedSessions) inet::InternetCloseHandle(session);
  watchedSessions.clear();
}

bool TransferCancelled() {
  return cancelled;
}

void ResetTransfer() {
  ExpectTransfer(0);
  cancelled = false;
}

bool WatchSession(inet::Handle session) {
  std::lock_guard lock(sessionsMutex);
  if (cancelled) {
    inet::InternetCloseHandle(session);
    return false;
  }
  watchedSessions.push_back(session);
  return true;
}

void CloseSession(inet::Handle session) {
  std::lock_guard lock(sessionsMutex);
  const auto watched = std::find(watchedSessions.begin(), watchedSessions.end(), session);
  if (watched == watchedSessions.end()) return;
  watchedSessions.erase(watched);
  inet::InternetCloseHandle(session);
}

}  // namespace kesto::update
