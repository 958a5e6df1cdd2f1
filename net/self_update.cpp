#include "net/self_update.h"

#include <algorithm>
#include <ctime>
#include <mutex>
#include <thread>

#include "layouts/names.h"
#include "net/downloader.h"
#include "net/http_request.h"
#include "net/updater_contract.h"
#include "runtime/tool_services.h"
#include "runtime/vendor_signature.h"
#include "shell/builtin_settings.h"
#include "shell/window_refs.h"
#include "update/app_key.h"
#include "update/installed_state.h"
#include "update/release_feed.h"
#include "update/vendor_key.h"

namespace kesto::net {

namespace {

std::mutex addressMutex;
Text overriddenAddress;

// The answers that carry the updater: the whole file, or the range asked for from offset 0.
constexpr int kHttpOk = 200;
constexpr int kHttpPartialContent = 206;

// Full-range progress of the bar.
constexpr double kBarRange = 10000.0;

// The vendor's signed feed, checked as the updater checks it; nothing when it is refused.
std::optional<update::Feed> CheckedFeed() {
  HttpRequestOptions feedOptions, signatureOptions;
  feedOptions.maxBytes = update::kMaxFeedBytes;
  signatureOptions.maxBytes = update::kMaxFeedSignatureBytes;
  const Bytes feed = HttpRequest(update::FeedAddress(), feedOptions);
  const Bytes signature = HttpRequest(update::FeedAddress() + ".sig", signatureOptions);
  update::FeedCheck check =
      update::CheckFeed(std::string(feed.begin(), feed.end()), signature, update::VendorKeys(),
                        static_cast<std::int64_t>(std::time(nullptr)), update::FeedFloor());
  if (check.verdict != update::FeedVerdict::kAccepted) return std::nullopt;
  update::RaiseFeedFloor(check.feed->sequence);
  return std::move(check.feed);
}

// The updater comes by the road every update takes: the release "up" of the vendor's signed
// feed, its file up.qmz saved only when it arrived whole with the size and SHA-256 the feed
// gives. An error page, a cut-short file or a program from a hijacked connection is never
// saved (every later start would hand over to it); the next start asks again.
void DownloadUpdater() {
  const std::optional<update::Feed> feed = CheckedFeed();
  if (!feed) return;
  const auto release = feed->releases.find(update::kUpdaterRelease);
  if (release == feed->releases.end()) return;
  const auto& files = release->second.files;
  const auto file = std::find_if(files.begin(), files.end(), [](const update::FeedFile& file) {
    return file.name == kUpdaterFileName;
  });
  if (file == files.end() || file->size == 0) return;
  int status = 0;
  const Bytes program = Download(update::FileAddress(update::FeedAddress(), file->url),
                                 UpdateProgress, 0, &status, file->size);
  const bool answered = status == kHttpOk || status == kHttpPartialContent;
  if (!answered || program.size() != file->size || crypto::Sha256Of(program) != file->sha256) {
    return;
  }
  // A logoff now waits for the updater and its version to be written.
  SessionEndHold hold("正在保存更新程序，请稍候");
  if (WriteFileBytes(UpdaterPath(), {program})) {
    MakeRunnable(UpdaterPath());
    update::RecordInstalledVersion(update::kUpdaterRelease, release->second.version);
  }
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
  // Without a size there is no share to show: the bar stays where it is. A window the user has
  // closed by hand has no bar left to move, and the download goes on without it.
  if (total <= 0 || ui::NativeHandle(refs::kUpdateWindow) == 0) return;
  double share = std::min(static_cast<double>(received) * kBarRange / total, kBarRange);
  ui::SetInt(refs::kUpdateProgressBar, ui::prop::processbar::kPosition, ToInteger(share));
}

void UpdateThread() {
  // The list is still asked for, as the update server expects; the updater itself comes from
  // the signed feed.
  HttpRequest(UpdateListAddress());
  DownloadUpdater();
  ui::CloseWindow(names::kUpdateWindow);
  StartUpdater();
  EndProgram(0);
}

ui::EventResult OnUpdateWindowCreated(const ui::EventArgs&) {
  std::thread(UpdateThread).detach();
  return {};
}

}  // namespace kesto::net
