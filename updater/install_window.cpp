#include "updater/install_window.h"

#include <condition_variable>
#include <mutex>
#include <thread>

#include "layouts/names.h"
#include "runtime/tool_services.h"
#include "runtime/ui.h"
#include "update/transfer_progress.h"

namespace kesto::updater {

namespace {

// A quick install never flashes a window.
constexpr auto kQuietTime = std::chrono::milliseconds(500);
// The window is pumped this often while the install runs: the bar moves smoothly and a
// click on cancel is taken at once.
constexpr int kPumpMilliseconds = 20;

const ui::Ref kInstallWindow{names::kInstallWindow, ""};
const ui::Ref kProgressBar{names::kInstallWindow, "进度条1"};
const ui::Ref kCancelButton{names::kInstallWindow, "按钮1"};

ui::EventResult OnInstallCancelled(const ui::EventArgs&) {
  update::CancelTransfer();
  if (ui::NativeHandle(kCancelButton) != 0) ui::SetBool(kCancelButton, ui::prop::kDisable, true);
  return {};
}

// Keeps the window current until `finished` holds.
void ShowProgressUntil(const std::function<bool()>& finished) {
  int shownShare = -1;
  while (!finished()) {
    const int share = update::TransferShare();
    if (share != shownShare && ui::NativeHandle(kProgressBar) != 0) {
      ui::SetInt(kProgressBar, ui::prop::processbar::kPosition, share);
      shownShare = share;
    }
    ProcessEvents();
    PauseMilliseconds(kPumpMilliseconds);
  }
}

}  // namespace

InstallOutcome InstallWithProgress(const Text& key, const std::function<bool()>& install) {
  std::mutex mutex;
  std::condition_variable ended;
  bool finished = false;
  bool result = false;
  std::thread worker([&] {
    const bool installed = install();
    std::lock_guard lock(mutex);
    result = installed;
    finished = true;
    ended.notify_all();
  });
  const auto isFinished = [&] {
    std::lock_guard lock(mutex);
    return finished;
  };
  bool quick;
  bool cancelled = false;
  {
    std::unique_lock lock(mutex);
    quick = ended.wait_for(lock, kQuietTime, [&] { return finished; });
  }
  if (!quick) {
    ui::RegisterHandler(names::kOnInstallCancelled, OnInstallCancelled);
    if (ui::LoadWindow(names::kInstallWindow)) {
      ui::SetText(kInstallWindow, ui::prop::window::kTitle, "正在安装应用 " + key);
      ShowProgressUntil(isFinished);
      // Read before the window goes: closing it is no cancel of an install that has ended.
      cancelled = update::TransferCancelled();
      ui::CloseWindow(names::kInstallWindow);
      ProcessEvents();
    }
  }
  worker.join();
  update::ResetTransfer();
  if (result) return InstallOutcome::kInstalled;
  return cancelled ? InstallOutcome::kCancelled : InstallOutcome::kFailed;
}

}  // namespace kesto::updater
