#include "update/missing_updater.h"

#include <vector>

#include "net/updater_contract.h"
#include "runtime/tool_services.h"
#include "update/app_key.h"
#include "update/installed_state.h"
#include "update/signed_release.h"
#include "update/stage_paths.h"

namespace kesto::update {

namespace {
// What the fetch waits for an updater at work on the folder's update state (the feed kept
// under the lock among it).
constexpr int kLockWaitMilliseconds = 10000;
}  // namespace

bool FetchMissingUpdater(Text& problem) {
  FileHold lock(UpdateLockFile(), kLockWaitMilliseconds);
  if (!lock.Held()) {
    problem = "另一个更新程序仍未结束，请稍后再试";
    return false;
  }
  // A logoff during the fetch waits for the updater to be in place (or not at all).
  const SessionEndHold hold("正在下载更新程序，请稍候");
  const Text staging = StageFolder(kUpdaterRelease) + "\\fetched";
  RemoveFolderTree(staging);
  std::vector<Text> names;
  Text version;
  const Text program = staging + "\\" + net::kUpdaterFileName;
  const bool saved = MakeFolder(staging) &&
                     FetchSignedRelease(kUpdaterRelease, staging, names, version, problem) &&
                     MakeRunnable(program) &&
                     MoveFileReplacing(program, CurrentDirectory() + "\\" + net::kUpdaterFileName);
  if (saved) RecordInstalledVersion(kUpdaterRelease, version);
  RemoveFolderTree(staging);
  return saved;
}

}  // namespace kesto::update
