#include "net/self_update.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

#include "layouts/names.h"
#include "net/downloader.h"
#include "net/http_request.h"
#include "net/updater_contract.h"
#include "runtime/vendor_signature.h"
#include "update/vendor_key.h"
#include "shell/builtin_settings.h"
#include "shell/window_refs.h"

namespace kesto::net {

namespace {

std::mutex addressMutex;
Text overriddenAddress;

// The size the server announced for the updater download, 0 when it announced none.
std::atomic<int> announcedSize{0};

// The answers that carry the updater: the whole file, or the range asked for from offset 0.
constexpr int kHttpOk = 200;
constexpr int kHttpPartialContent = 206;

// Full-range progress of the bar.
constexpr double kBarRange = 10000.0;

// Saves the updater only from a successful answer that came whole: an error page, an empty or
// a cut-short up.qmz would be handed over to by every later start and could never run. A build
// with the vendor's key saves only an updater that the list's signature vouches for: a program
// from a hijacked connection is never run, and the next start asks again.
void DownloadUpdater(const Text& address, const Bytes& signature) {
  announcedSize = 0;
  int status = 0;
  Bytes program = Download(address, UpdateProgress, 0, &status);
  const bool answered = status == kHttpOk || status == kHttpPartialContent;
  if (!answered || program.empty() || BytesLength(program) < announcedSize) return;
  const Bytes key = update::VendorKey();
  if (!key.empty() && !crypto::VerifySignature(key, program.data(), program.size(), signature)) {
    return;
  }
  if (WriteFileBytes(UpdaterPath(), {program})) MakeRunnable(UpdaterPath());
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

void UpdateProgress(int total, int received, int /*elapsed*/, int /*receivedSinceStart*/) {
  announcedSize = std::max(total, 0);
  // Without a size there is no share to show: the bar stays where it is. A window the user has
  // closed by hand has no bar left to move, and the download goes on without it.
  if (total <= 0 || ui::NativeHandle(refs::kUpdateWindow) == 0) return;
  double share = std::min(static_cast<double>(received) * kBarRange / total, kBarRange);
  ui::SetInt(refs::kUpdateProgressBar, ui::prop::processbar::kPosition, ToInteger(share));
}

void UpdateThread() {
  const Bytes list = HttpRequest(UpdateListAddress());
  const Text address = UpdaterAddressFromList(list);
  if (!address.empty()) DownloadUpdater(address, UpdaterSignatureFromList(list));
  ui::CloseWindow(names::kUpdateWindow);
  StartUpdater();
  EndProgram(0);
}

ui::EventResult OnUpdateWindowCreated(const ui::EventArgs&) {
  std::thread(UpdateThread).detach();
  return {};
}

}  // namespace kesto::net
