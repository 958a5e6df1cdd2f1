// The record of a release being put in place or taken back, written to the disk before any file
// moves: a stop at any moment (a kill, a logoff, a power cut) leaves the next start knowing which
// step it was in and which files belong to it, so that it finishes or undoes that step whole and
// never starts a mix of two releases.
#pragma once

#include <optional>
#include <vector>

#include "runtime/core.h"

namespace kesto::update {

enum class JournalStep {
  kApply,     // the new release's files are being moved in
  kUndo,      // an apply that could not finish is being taken back
  kTrial,     // the new release is in place and must still come up and settle
  kRollBack,  // the new release did not come up, or was withdrawn: the kept one goes back
};

struct JournalFile {
  Text name;
  bool replaced = false;  // a file of the release before, kept while the new one is tried
};

struct Journal {
  JournalStep step = JournalStep::kApply;
  Text version;    // the release being put in place
  Text previous;   // the release it replaces, kept until the new one has settled
  Text folder;     // where the target's files are
  int trials = 0;  // starts of the new release that did not see its trial through
  std::vector<JournalFile> files;
};

// <program folder>\.up-stage\<target>\journal.
Text JournalPath(const Text& target);
// Nothing when there is no journal; a damaged one reads as nothing too, and the caller treats it
// as a step it cannot finish.
std::optional<Journal> ReadJournal(const Text& target);
// Whole and on the disk when true.
bool WriteJournal(const Text& target, const Journal& journal);
bool RemoveJournal(const Text& target);

}  // namespace kesto::update
