#include "update/release_journal.h"

#include <cstdlib>

#include "runtime/tool_services.h"
#include "update/release_feed.h"
#include "update/stage_paths.h"

namespace kesto::update {

namespace {

constexpr const char* kSteps[] = {"apply", "undo", "trial", "rollback"};

// A name the journal can hold on one line, and the target's folder can hold as one file.
bool IsPlainName(const Text& name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || c == '\\' || c == '/' || c == '=') return false;
  }
  return true;
}

}  // namespace

Text JournalPath(const Text& target) {
  return StageFolder(target) + "\\journal";
}

std::optional<Journal> ReadJournal(const Text& target) {
  const Text path = JournalPath(target);
  if (!FileExists(path)) return std::nullopt;
  const Bytes bytes = ReadFileBytes(path);
  Journal journal;
  bool haveStep = false;
  for (const Text& line : SplitText(ToText(bytes), "\n")) {
    const int equals = FindText(line, "=");
    if (equals <= 0) continue;
    const Text key = LeftText(line, equals - 1);
    const Text value = MidText(line, equals + 1, TextLength(line) - equals);
    if (key == "step") {
      for (int step = 0; step < 4; ++step) {
        if (value == kSteps[step]) {
          journal.step = static_cast<JournalStep>(step);
          haveStep = true;
        }
      }
    } else if (key == "version") {
      journal.version = value;
    } else if (key == "previous") {
      journal.previous = value;
    } else if (key == "folder") {
      journal.folder = value;
    } else if (key == "trials") {
      journal.trials = std::atoi(value.c_str());
    } else if ((key == "replaced" || key == "added") && IsPlainName(value)) {
      journal.files.push_back({value, key == "replaced"});
    }
  }
  if (!haveStep || !IsVersion(journal.version) || !IsVersion(journal.previous) ||
      journal.folder.empty()) {
    return std::nullopt;
  }
  return journal;
}

bool WriteJournal(const Text& target, const Journal& journal) {
  Text text = Text("step=") + kSteps[static_cast<int>(journal.step)] + "\n";
  text += "version=" + journal.version + "\nprevious=" + journal.previous + "\n";
  text += "folder=" + journal.folder + "\ntrials=" + ToText(journal.trials) + "\n";
  for (const JournalFile& file : journal.files) {
    if (!IsPlainName(file.name)) return false;
    text += (file.replaced ? "replaced=" : "added=") + file.name + "\n";
  }
  return WriteFileBytes(JournalPath(target), {ToBytes(text)});
}

// Moved aside first, which is on the disk when it returns: a stop afterwards never finds the
// journal of a step that has ended.
bool RemoveJournal(const Text& target) {
  const Text ended = JournalPath(target) + ".ended";
  if (FileExists(JournalPath(target)) && !MoveFileReplacing(JournalPath(target), ended)) {
    return false;
  }
  RemoveFolderTree(ended);
  return true;
}

}  // namespace kesto::update
