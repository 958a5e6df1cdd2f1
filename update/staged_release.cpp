#include "update/staged_release.h"

#include <vector>

#include "runtime/tool_services.h"
#include "update/app_key.h"
#include "update/installed_state.h"
#include "update/release_journal.h"
#include "update/release_swap.h"
#include "update/signed_release.h"
#include "update/stage_paths.h"
#include "update/update_log.h"

namespace kesto::update {

namespace {

// Program files must be runnable where that is a permission: the application and updater files,
// and a program file without an extension.
bool IsProgramName(const Text& name) {
  const int dot = FindLastText(name, ".");
  const Text extension = dot == -1 ? Text{} : MidText(name, dot + 1, TextLength(name) - dot);
  return dot == -1 || extension == "qmz" || extension == "exe";
}

// Whether the feed's release is to replace the installed one: a newer one, or any other when the
// vendor has withdrawn the installed one; never a refused or withdrawn one.
bool IsWanted(const Text& target, const Release& release) {
  const Text installed = InstalledVersion(target);
  const int order = CompareVersions(release.version, installed);
  const bool goesBack = order != 0 && release.IsWithdrawn(installed);
  return (order > 0 || goesBack) && !IsRefusedRelease(target, release.version);
}

// A withdrawn release on trial whose kept release is the one the vendor offers now is simply
// rolled back; any other withdrawn release is refused, so the release staged for it is applied
// by the next start even when it is older.
bool TakeBackWithdrawn(const Text& target, const Release& release) {
  const Text installed = InstalledVersion(target);
  if (!release.IsWithdrawn(installed)) return false;
  LogLine(target + " " + installed + " 已被撤回");
  const std::optional<Journal> journal = ReadJournal(target);
  if (journal && journal->step == JournalStep::kTrial && journal->version == installed &&
      CompareVersions(journal->previous, release.version) == 0) {
    return RollBackRelease(target);
  }
  RefuseRelease(target, installed);
  return false;
}

}  // namespace

bool StageNewerRelease(const Text& target, Text& problem) {
  if (!IsReleaseName(target)) {
    problem = "无效的应用名：" + target;
    return false;
  }
  const Text stage = StageFolder(target);
  const Text feedFolder = stage + "\\feed";
  const Text incoming = stage + "\\incoming";
  const Text ready = stage + "\\ready";
  RemoveFolderTree(feedFolder);
  RemoveFolderTree(incoming);
  if (!MakeFolder(feedFolder) || !MakeFolder(incoming)) {
    problem = "cannot create " + incoming;
    return false;
  }
  const std::optional<Feed> feed = FetchCheckedFeed(feedFolder, problem);
  RemoveFolderTree(feedFolder);
  if (!feed) return false;
  const auto found = feed->releases.find(TextToUtf8(target));
  if (found == feed->releases.end()) {
    RemoveFolderTree(incoming);
    return true;
  }
  const Release& release = found->second;
  const Text stagedVersion = ToText(ReadFileBytes(ready + "\\" + kStagedVersionFile));
  if (release.IsWithdrawn(stagedVersion)) RemoveFolderTree(ready);
  if (TakeBackWithdrawn(target, release) || !IsWanted(target, release) ||
      stagedVersion == release.version) {
    RemoveFolderTree(incoming);
    return true;
  }
  std::vector<Text> names;
  bool staged = FetchReleaseFiles(release, incoming, "", names, problem);
  for (const Text& name : names) {
    staged = staged && (!IsProgramName(name) || MakeRunnable(incoming + "\\" + name));
  }
  staged =
      staged && WriteFileBytes(incoming + "\\" + kStagedVersionFile, {ToBytes(release.version)});
  if (staged) {
    RemoveFolderTree(ready);
    staged = MoveFileReplacing(incoming, ready);
  }
  if (!staged) RemoveFolderTree(incoming);
  return staged;
}

}  // namespace kesto::update
