#include "net/self_update.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

#include "layouts/names.h"
#include "net/http_request.h"
#include "net/updater_contract.h"
#include "runtime/tool_services.h"
#include "shell/builtin_settings.h"
#include "shell/window_refs.h"
#include "update/missing_updater.h"
#include "update/transfer_progress.h"

namespace kesto::net {

namespace {

std::mutex addressMutex;
Text overriddenAddress;

// Full-range progress of the bar, and how often it follows the download.
constexpr int kBarRange = 10000;
constexpr int kBarPollMilliseconds = 50;

// Moves the bar to the share of the updater received, when that has changed since `shown`. A
// window the user has closed by hand has no bar left to move, and the download goes on without
// it.
void ShowTransferShare(int& shown) {
  const int share = std::min(update::TransferShare(), kBarRange);
  if (share == shown || ui::NativeHandle(refs::kUpdateWindow) == 0) return;
  shown = share;
  ui::SetInt(refs::kUpdateProgressBar, ui::prop::processbar::kPosition, share);
}

// The updater comes by the road every update takes (update/missing_updater.h), while the bar
// follows it.
void FetchUpdater() {
  update::ResetTransfer();
  std::atomic<bool> done = false;
  std::thread fetch([&] {
    Text ignored;
    update::FetchMissingUpdater(ignored);
    done = true;
  });
  int shown = 0;
  while (!done) {
    ShowTransferShare(shown);
    PauseMilliseconds(kBarPollMilliseconds);
  }
  fetch.join();
  ShowTransferShare(shown);
}

}  // namespace

Text UpdateListAddress() {
  std::lock_guard lock(addressMutex);
  if (!overriddenAddress.empty()) return overriddenAddress;
  return "http://" + Text(settings::kUpdateHost) + ":" + ToText(settings::kUpdatePort) +
         "/app/up/1.txt";
}

void OverrideUpdateListAddress(const Text& address) {
  std::lock_guard lock(addressMutex);
  overriddenAddress = address;
}

void UpdateThread() {
  // The list is still asked for, as the update server expects; the updater itself comes from
  // the signed feed.
  HttpRequest(UpdateListAddress());
  FetchUpdater();
  ui::CloseWindow(names::kUpdateWindow);
  StartUpdater();
  EndProgram(0);
}

ui::EventResult OnUpdateWindowCreated(const ui::EventArgs&) {
  std::thread(UpdateThread).detach();
  return {};
}

}  // namespace kesto::net
