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

// The cancel and the connections it closes change together: a connection is closed once, by
// the cancel or by its download.
std::mutex connectionsMutex;
std::vector<inet::Handle> watchedConnections;
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
  std::lock_guard lock(connectionsMutex);
  cancelled = true;
  for (inet::Handle connection : watchedConnections) inet::InternetCloseHandle(connection);
  watchedConnections.clear();
}

bool TransferCancelled() {
  return cancelled;
}

void ResetTransfer() {
  ExpectTransfer(0);
  cancelled = false;
}

bool WatchConnection(inet::Handle connection) {
  std::lock_guard lock(connectionsMutex);
  if (cancelled) {
    inet::InternetCloseHandle(connection);
    return false;
  }
  watchedConnections.push_back(connection);
  return true;
}

void CloseConnection(inet::Handle connection) {
  std::lock_guard lock(connectionsMutex);
  const auto watched = std::find(watchedConnections.begin(), watchedConnections.end(), connection);
  if (watched == watchedConnections.end()) return;
  watchedConnections.erase(watched);
  inet::InternetCloseHandle(connection);
}

}  // namespace kesto::update
