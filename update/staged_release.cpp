#include "update/staged_release.h"

#include <vector>

#include "runtime/tool_services.h"
#include "update/app_key.h"
#include "update/installed_app.h"
#include "update/installed_state.h"
#include "update/signed_release.h"
#include "update/update_log.h"

namespace kesto::update {

namespace {

// Release files never start with a ".", so the records the stage keeps among them cannot meet
// one: the release's version, the folder it is being applied to, and what it replaced.
constexpr const char* kVersionFile = ".version";
constexpr const char* kFolderFile = ".folder";
constexpr const char* kReplacedFile = ".replaced";

Text StageFolder(const Text& target) {
  return CurrentDirectory() + "\\.up-stage\\" + target;
}

// Where the target's files live: the program folder for the platform, the folder of the
// installed application file for a key; empty when the application is not installed.
Text TargetFolder(const Text& target) {
  if (target == update::kPlatformRelease || target == update::kUpdaterRelease) {
    return CurrentDirectory();
  }
  const Text program = FindInstalledApp(target);
  if (program.empty()) return {};
  return LeftText(program, FindLastText(program, "\\") - 1);
}

std::vector<Text> FileNames(const Text& folder) {
  std::vector<Text> names;
  for (const ListedEntry& entry : ListFolder(folder + "\\*")) {
    if (!entry.folder && LeftText(entry.name, 1) != ".") names.push_back(entry.name);
  }
  return names;
}

// Program files must be runnable where that is a permission: the application and updater files,
// and a program file without an extension.
bool IsProgramName(const Text& name) {
  const int dot = FindLastText(name, ".");
  const Text extension = dot == -1 ? Text{} : MidText(name, dot + 1, TextLength(name) - dot);
  return dot == -1 || extension == "qmz" || extension == "exe";
}

// A release that was rolled back is never taken again.
bool IsRefusedRelease(const Text& target, const Text& version) {
  return ReadIniValue(update::InstalledStatePath(), "refused", target) == version;
}

}  // namespace

bool ApplyStagedRelease(const Text& target) {
  if (!update::IsReleaseName(target)) return false;
  const Text stage = StageFolder(target);
  const Text applying = stage + "\\applying";
  const Text ready = stage + "\\ready";
  const Text old = stage + "\\old";
  Text folder;
  if (!FileExists(applying)) {
    if (!FileExists(ready)) return false;
    const Text version = ToText(ReadFileBytes(ready + "\\" + kVersionFile));
    if (!update::IsVersion(version) || IsRefusedRelease(target, version) ||
        update::CompareVersions(version, update::InstalledVersion(target)) <= 0) {
      RemoveFolderTree(ready);
      return false;
    }
    folder = TargetFolder(target);
    if (folder.empty()) {
      RemoveFolderTree(ready);
      return false;
    }
    // The folder's new name is the record that renames have begun; the files an earlier
    // release replaced go now. Where the files go is kept with them: once the application's
    // own file is set aside, the application can no longer be found by it.
    RemoveFolderTree(old);
    if (!WriteFileBytes(ready + "\\" + kFolderFile, {ToBytes(folder)}) ||
        !MoveFileReplacing(ready, applying)) {
      return false;
    }
  } else {
    folder = ToText(ReadFileBytes(applying + "\\" + kFolderFile));
    if (folder.empty()) folder = TargetFolder(target);  // begun by an updater that kept no record
    if (folder.empty()) {
      RemoveFolderTree(applying);
      return false;
    }
  }
  MakeFolder(old);
  std::vector<Text> moved;
  for (const Text& name : FileNames(applying)) {
    const Text into = folder + "\\" + name;
    if (FileExists(into) && !MoveFileReplacing(into, old + "\\" + name)) break;
    if (!MoveFileReplacing(applying + "\\" + name, into)) {
      // A file in use: what moved goes back, and the next start tries again.
      MoveFileReplacing(old + "\\" + name, into);
      for (auto back = moved.rbegin(); back != moved.rend(); ++back) {
        MoveFileReplacing(folder + "\\" + *back, applying + "\\" + *back);
        MoveFileReplacing(old + "\\" + *back, folder + "\\" + *back);
      }
      return false;
    }
    moved.push_back(name);
  }
  if (!FileNames(applying).empty()) return false;
  // The old files stay, with the version they were, until the new release has come up. Written
  // once: a start after a stop from here on finishes with the version recorded then, not with
  // what is left of the folder being removed.
  const Text replaced = old + "\\" + kReplacedFile;
  if (!FileExists(replaced)) {
    const Bytes version = ReadFileBytes(applying + "\\" + kVersionFile);
    if (!WriteFileBytes(old + "\\" + kVersionFile, {ToBytes(update::InstalledVersion(target))}) ||
        !WriteFileBytes(replaced, {version})) {
      return false;
    }
  }
  const Text version = ToText(ReadFileBytes(replaced));
  update::RecordInstalledVersion(target, version);
  RemoveFolderTree(applying);
  LogLine(target + " " + version + " 已更新就位");
  return true;
}

void KeepAppliedRelease(const Text& target) {
  if (!update::IsReleaseName(target)) return;
  RemoveFolderTree(StageFolder(target) + "\\old");
}

void RollBackRelease(const Text& target) {
  if (!update::IsReleaseName(target)) return;
  const Text old = StageFolder(target) + "\\old";
  const Text folder = TargetFolder(target);
  if (!FileExists(old) || folder.empty()) return;
  for (const Text& name : FileNames(old)) {
    MoveFileReplacing(old + "\\" + name, folder + "\\" + name);
  }
  const Text refused = ToText(ReadFileBytes(old + "\\" + kReplacedFile));
  const Text restored = ToText(ReadFileBytes(old + "\\" + kVersionFile));
  WriteIniValue(update::InstalledStatePath(), "refused", target, refused);
  update::RecordInstalledVersion(target, restored);
  RemoveFolderTree(old);
  LogLine(target + " " + refused + " 未能启动，已退回 " + restored);
}

bool StageNewerRelease(const Text& target, Text& problem) {
  if (!update::IsReleaseName(target)) {
    problem = "无效的应用名：" + target;
    return false;
  }
  const Text stage = StageFolder(target);
  const Text feedFolder = stage + "\\feed";
  const Text incoming = stage + "\\incoming";
  // One stager per target: a second start meanwhile leaves the fetching to the first.
  const Text lockFile = stage + "\\.lock";
  if (!MakeFolder(stage) || !MakeFileIfMissing(lockFile)) {
    problem = "cannot create " + lockFile;
    return false;
  }
  FileHold lock(lockFile, 0);
  if (!lock.Held()) return true;
  RemoveFolderTree(feedFolder);
  RemoveFolderTree(incoming);
  if (!MakeFolder(feedFolder) || !MakeFolder(incoming)) {
    problem = "cannot create " + incoming;
    return false;
  }
  const std::optional<update::Feed> feed = FetchCheckedFeed(feedFolder, problem);
  RemoveFolderTree(feedFolder);
  if (!feed) return false;
  const auto release = feed->releases.find(TextToUtf8(target));
  const Text ready = stage + "\\ready";
  if (release == feed->releases.end() ||
      update::CompareVersions(release->second.version, update::InstalledVersion(target)) <= 0 ||
      IsRefusedRelease(target, release->second.version) ||
      ToText(ReadFileBytes(ready + "\\" + kVersionFile)) == release->second.version) {
    RemoveFolderTree(incoming);
    return true;
  }
  std::vector<Text> names;
  bool staged = FetchReleaseFiles(release->second, incoming, "", names, problem);
  for (const Text& name : names) {
    staged = staged && (!IsProgramName(name) || MakeRunnable(incoming + "\\" + name));
  }
  staged =
      staged && WriteFileBytes(incoming + "\\" + kVersionFile, {ToBytes(release->second.version)});
  if (staged) {
    RemoveFolderTree(ready);
    staged = MoveFileReplacing(incoming, ready);
  }
  if (!staged) RemoveFolderTree(incoming);
  return staged;
}

}  // namespace kesto::update
