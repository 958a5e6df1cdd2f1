#include "update/installed_state.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>

#include "shell/builtin_settings.h"
#include "update/app_key.h"
#include "update/release_feed.h"

namespace kesto::update {

namespace {
std::mutex serverMutex;
std::string overriddenServer;
}  // namespace

Text InstalledStatePath() {
  return CurrentDirectory() + "\\up.ini";
}

Text InstalledVersion(const Text& target) {
  const Text noted = ReadIniValue(InstalledStatePath(), "versions", target, "");
  const bool shipped = target == kPlatformRelease || target == kUpdaterRelease;
  if (!shipped) return IsVersion(noted) ? noted : Text("0");
  if (!IsVersion(noted) ||
      (target == kUpdaterRelease && CompareVersions(noted, settings::kReleaseVersion) < 0)) {
    return settings::kReleaseVersion;
  }
  return noted;
}

void RecordInstalledVersion(const Text& target, const Text& version) {
  WriteIniValue(InstalledStatePath(), "versions", target, version);
}

bool IsRefusedRelease(const Text& target, const Text& version) {
  const Text refused = ReadIniValue(InstalledStatePath(), "refused", target, "");
  return IsVersion(refused) && CompareVersions(refused, version) == 0;
}

void RefuseRelease(const Text& target, const Text& version) {
  WriteIniValue(InstalledStatePath(), "refused", target, version);
}

std::uint64_t FeedFloor() {
  const Text noted = ReadIniValue(InstalledStatePath(), "feed", "sequence", "0");
  const std::uint64_t sequence = std::strtoull(noted.c_str(), nullptr, 10);
  return std::max<std::uint64_t>(sequence, settings::kFeedSequence);
}

void RaiseFeedFloor(std::uint64_t sequence) {
  if (sequence > FeedFloor()) {
    WriteIniValue(InstalledStatePath(), "feed", "sequence", std::to_string(sequence));
  }
}

std::string UpdateServer() {
  std::lock_guard lock(serverMutex);
  if (!overriddenServer.empty()) return overriddenServer;
  return std::string("http://") + settings::kUpdateHost + ":" +
         std::to_string(settings::kUpdatePort);
}

void OverrideUpdateServer(const std::string& server) {
  std::lock_guard lock(serverMutex);
  overriddenServer = server;
}

std::string FeedAddress() {
  return UpdateServer() + "/app/feed.json";
}

}  // namespace kesto::update
