#include "update/release_swap.h"

#include <algorithm>
#include <vector>

#include "runtime/tool_services.h"
#include "update/app_key.h"
#include "update/installed_app.h"
#include "update/installed_state.h"
#include "update/release_feed.h"
#include "update/release_journal.h"
#include "update/stage_paths.h"
#include "update/update_log.h"

namespace kesto::update {

namespace {

// How long a rename that fails is tried again (a scanner or an indexer holds a file for a
// moment), and the pauses between tries, doubling up to the longest.
constexpr int kRetryMilliseconds = 3000;
constexpr int kFirstPauseMilliseconds = 50;
constexpr int kLongestPauseMilliseconds = 400;
// Starts of a release on trial, each stopped before its trial ended, after which it is rolled
// back without another start.
constexpr int kMostTrials = 3;
// What a logoff or shutdown during the moves is told: it waits for them.
constexpr char kHoldReason[] = "正在更新程序文件，请稍候";

// Where the target's files live: the program folder for the platform and the updater, the
// folder of the installed application file for a key; empty when the application is not
// installed.
Text TargetFolder(const Text& target) {
  if (target == kPlatformRelease || target == kUpdaterRelease) return CurrentDirectory();
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

template <class Step>
bool Retried(Step step) {
  int pause = kFirstPauseMilliseconds;
  for (int waited = 0;; waited += pause, pause = std::min(pause * 2, kLongestPauseMilliseconds)) {
    if (step()) return true;
    if (waited >= kRetryMilliseconds) return false;
    PauseMilliseconds(pause);
  }
}

bool MoveRetried(const Text& from, const Text& to) {
  return Retried([&] { return MoveFileReplacing(from, to); });
}

bool RemoveRetried(const Text& path) {
  return Retried([&] {
    RemoveFolderTree(path);
    return !FileExists(path);
  });
}

// Renames the new file over the old one in one step. Windows refuses that over a running
// program's file, which only the updater's own is while it applies itself: that file is first
// renamed aside (which Windows allows) into `aside`, for the instant before the new one follows.
bool MoveInto(const Text& from, const Text& into, const Text& aside) {
  if (MoveFileReplacing(from, into)) return true;
  const bool ownFile = into == CurrentDirectory() + "\\" + ProgramFileName();
  if (ownFile && FileExists(into) && MoveFileReplacing(into, aside)) {
    if (MoveRetried(from, into)) return true;
    MoveFileReplacing(aside, into);
    return false;
  }
  return MoveRetried(from, into);
}

// Takes the journal's release back out: every kept file goes back over the new one, every
// added file goes. Safe to repeat from any point, which is what a stop in the middle needs.
bool PutBack(const Text& target, Journal journal, JournalStep step) {
  const SessionEndHold hold(kHoldReason);
  if (step == JournalStep::kRollBack) {
    RefuseRelease(target, journal.version);
  }
  journal.step = step;
  if (!WriteJournal(target, journal)) return false;
  const Text old = StageFolder(target) + "\\old";
  for (auto file = journal.files.rbegin(); file != journal.files.rend(); ++file) {
    const Text into = journal.folder + "\\" + file->name;
    const Text kept = old + "\\" + file->name;
    const bool back = file->replaced ? !FileExists(kept) || MoveRetried(kept, into)
                                     : !FileExists(into) || RemoveRetried(into);
    if (!back) {
      LogLine(target + " " + journal.version + " 的文件无法退回：" + into);
      return false;
    }
  }
  RecordInstalledVersion(target, journal.previous);
  if (!RemoveJournal(target)) return false;
  RemoveFolderTree(old);
  RemoveFolderTree(StageFolder(target) + "\\ready");
  LogLine(target + " " + journal.version +
          (step == JournalStep::kRollBack ? " 未能正常运行，已退回 " : " 无法更新就位，仍为 ") +
          journal.previous);
  return true;
}

// Moves the journal's files in, from where a stop left off: a file still in ready has not
// moved, and the file it replaces is kept under a second name before it does.
bool ContinueApply(const Text& target, Journal journal) {
  const SessionEndHold hold(kHoldReason);
  const Text ready = StageFolder(target) + "\\ready";
  const Text old = StageFolder(target) + "\\old";
  if (!MakeFolder(old)) {
    PutBack(target, journal, JournalStep::kUndo);
    return false;
  }
  for (const JournalFile& file : journal.files) {
    const Text from = ready + "\\" + file.name;
    const Text into = journal.folder + "\\" + file.name;
    if (!FileExists(from)) continue;
    const Text kept = old + "\\" + file.name;
    const bool moved = (!file.replaced || FileExists(kept) || LinkOrCopyFile(into, kept)) &&
                       MoveInto(from, into, old + "\\.running-" + file.name);
    if (!moved) {
      PutBack(target, journal, JournalStep::kUndo);
      return false;
    }
  }
  RecordInstalledVersion(target, journal.version);
  journal.step = JournalStep::kTrial;
  journal.trials = 0;
  if (!WriteJournal(target, journal)) return false;
  RemoveFolderTree(ready);
  LogLine(target + " " + journal.version + " 已更新就位");
  return true;
}

// The journal for the release in ready: its files, the application's own file last so that the
// platform's list never shows the application before the rest of it is in place.
std::optional<Journal> NewJournal(const Text& target, const Text& version, const Text& folder) {
  Journal journal;
  journal.version = version;
  journal.previous = InstalledVersion(target);
  journal.folder = folder;
  const Text ready = StageFolder(target) + "\\ready";
  const Text program = target + ".qmz";
  std::vector<Text> names = FileNames(ready);
  std::stable_partition(names.begin(), names.end(),
                        [&](const Text& name) { return name != program; });
  for (const Text& name : names) {
    journal.files.push_back({name, FileExists(folder + "\\" + name)});
  }
  if (journal.files.empty()) return std::nullopt;
  return journal;
}

}  // namespace

bool ApplyStagedRelease(const Text& target) {
  if (!IsReleaseName(target)) return false;
  const Text ready = StageFolder(target) + "\\ready";
  if (const std::optional<Journal> journal = ReadJournal(target)) {
    switch (journal->step) {
      case JournalStep::kApply:
        return ContinueApply(target, *journal);
      case JournalStep::kUndo:
      case JournalStep::kRollBack:
        PutBack(target, *journal, journal->step);
        return false;
      case JournalStep::kTrial:
        return false;
    }
  }
  if (FileExists(JournalPath(target))) {
    // Not written by an updater (each writes it whole): nothing in it can be trusted to undo.
    LogLine(target + " 的更新记录已损坏，已丢弃");
    RemoveJournal(target);
    RemoveFolderTree(StageFolder(target) + "\\old");
    RemoveFolderTree(ready);
    return false;
  }
  if (!FileExists(ready)) return false;
  const Text version = ToText(ReadFileBytes(ready + "\\" + kStagedVersionFile));
  const Text folder = TargetFolder(target);
  std::optional<Journal> journal;
  const Text installed = InstalledVersion(target);
  const bool replaces =
      CompareVersions(version, installed) > 0 ||
      (CompareVersions(version, installed) < 0 && IsRefusedRelease(target, installed));
  if (IsVersion(version) && !IsRefusedRelease(target, version) && replaces && !folder.empty()) {
    journal = NewJournal(target, version, folder);
  }
  if (!journal) {
    RemoveFolderTree(ready);
    return false;
  }
  // What an earlier release kept is no longer the release before this one.
  RemoveFolderTree(StageFolder(target) + "\\old");
  return WriteJournal(target, *journal) && ContinueApply(target, *journal);
}

bool ReleaseOnTrial(const Text& target) {
  const std::optional<Journal> journal = IsReleaseName(target) ? ReadJournal(target) : std::nullopt;
  return journal && journal->step == JournalStep::kTrial;
}

bool BeginTrial(const Text& target) {
  std::optional<Journal> journal = ReadJournal(target);
  if (!journal || journal->step != JournalStep::kTrial) return true;
  if (journal->trials >= kMostTrials) return false;
  ++journal->trials;
  return WriteJournal(target, *journal);
}

void KeepAppliedRelease(const Text& target) {
  const std::optional<Journal> journal = IsReleaseName(target) ? ReadJournal(target) : std::nullopt;
  if (!journal || journal->step != JournalStep::kTrial || !RemoveJournal(target)) return;
  RemoveFolderTree(StageFolder(target) + "\\old");
  LogLine(target + " " + journal->version + " 运行正常，已保留");
}

bool RollBackRelease(const Text& target) {
  const std::optional<Journal> journal = IsReleaseName(target) ? ReadJournal(target) : std::nullopt;
  if (!journal) return false;
  const bool tried =
      journal->step == JournalStep::kTrial || journal->step == JournalStep::kRollBack;
  return PutBack(target, *journal, tried ? JournalStep::kRollBack : JournalStep::kUndo);
}

}  // namespace kesto::update
