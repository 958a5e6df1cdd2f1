#include "update/updater_trial.h"

#include "net/updater_contract.h"
#include "runtime/tool_services.h"
#include "runtime/watched_program.h"
#include "shell/builtin_settings.h"
#include "update/app_key.h"
#include "update/release_journal.h"
#include "update/release_swap.h"
#include "update/stage_paths.h"

namespace kesto::update {

namespace {

constexpr char kAnswer[] = "ok";

Text AnswerFile() {
  return StageFolder(kUpdaterRelease) + "\\answer";
}

bool UpdaterAnswers() {
  RemoveFolderTree(AnswerFile());
  Text command = "\"";
  command += net::UpdaterPath() + "\" " + kUpdaterCheckSwitch;
  WatchedProgram program(command);
  const bool answered = program.Started() && program.Ended(settings::kSettleSeconds * 1000) &&
                        program.EndedOrdinarily() && ToText(ReadFileBytes(AnswerFile())) == kAnswer;
  program.End();
  RemoveFolderTree(AnswerFile());
  return answered;
}

}  // namespace

void SettleUpdaterRelease() {
  ApplyStagedRelease(kUpdaterRelease);
  if (!ReleaseOnTrial(kUpdaterRelease)) return;
  if (BeginTrial(kUpdaterRelease) && UpdaterAnswers()) {
    KeepAppliedRelease(kUpdaterRelease);
  } else {
    RollBackRelease(kUpdaterRelease);
  }
}

void FinishStoppedUpdaterTrial() {
  if (!FileExists(JournalPath(kUpdaterRelease))) return;
  const Text lock = UpdateLockFile();
  if (lock.empty()) return;
  // Held by an updater at work: it sees its own step through.
  FileHold hold(lock, 0);
  if (hold.Held()) SettleUpdaterRelease();
}

void AnswerUpdaterCheck() {
  if (MakeFolder(StageFolder(kUpdaterRelease))) WriteFileBytes(AnswerFile(), {ToBytes(kAnswer)});
}

}  // namespace kesto::update
