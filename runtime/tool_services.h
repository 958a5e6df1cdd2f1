// Services the programs beside the platform (the updater and the tools) need over the core
// ones: staging and moving downloaded files, waiting, one running copy per folder, holding off
// the end of the session, and UTF-8 for addresses. Paths are the program's own ("\" separated GBK
// texts).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "runtime/core.h"

namespace kesto {

// Creates the folder and any missing parents; true when it exists afterwards.
bool MakeFolder(const Text& path);
// Renames a file, replacing a file of the target name, in one step: at no moment is there no
// file of the target name. The move is on the disk when it returns. False when nothing moved.
bool MoveFileReplacing(const Text& from, const Text& to);
// Makes `to` a second name of the file `from` (a hard link), or where the volume has none a
// whole copy of it, on the disk when it returns; a file of that name is replaced.
bool LinkOrCopyFile(const Text& from, const Text& to);
// Creates an empty file where there is none, and never replaces one: processes that make the
// same lock file at once all end up holding that one file. True when the file is there.
bool MakeFileIfMissing(const Text& path);
// Removes the folder with everything below it; a missing folder is no failure.
void RemoveFolderTree(const Text& path);

void PauseMilliseconds(int milliseconds);

// Lowers this process's processor and disk priority below the seller's programs, for work that
// must never slow what the seller waits for (the updater's check after a start).
void RunInBackground();

// Lets a starter that waits for this program to take input go on at once: on Windows the
// platform waits up to a second, its window frozen, for every program it starts to read its
// messages, and a program whose work comes before any window of its own would never do so.
void ReadyForInput();

// The text as UTF-8 (a byte sequence that is not GB18030 becomes U+FFFD).
std::string TextToUtf8(const Text& text);
// UTF-8 as a text; nothing when it is not UTF-8 or holds a character GBK cannot.
std::optional<Text> Utf8ToTextExact(const std::string& utf8);
// UTF-8 as a text, lossy as the system's profile calls are: "?" for a character GBK cannot hold.
Text Utf8ToText(const std::string& utf8);

// An exclusive hold on an existing file, shared by every process that asks for it, from
// construction to destruction. The file's content stays readable and runnable; a process that
// dies lets go of its hold, so a crash leaves nothing stale. Programs it starts do not inherit
// the hold.
class FileHold {
 public:
  // Waits at most `timeoutMilliseconds` for another holder to let go.
  FileHold(const Text& path, int timeoutMilliseconds);
  ~FileHold();
  FileHold(const FileHold&) = delete;
  FileHold& operator=(const FileHold&) = delete;

  bool Held() const { return held_; }

 private:
  std::intptr_t file_ = -1;
  bool held_ = false;
};

// Keeps a logoff or shutdown from ending the process in the middle of a write or an apply, from
// construction to destruction: Windows is told the reason and asks the user to wait, or to end
// the program all the same, in which case the end waits for the hold to go. A hidden window of
// its own answers the session's questions, so a program without windows can hold too. Nothing
// on systems where the session asks no program.
class SessionEndHold {
 public:
  explicit SessionEndHold(const Text& reason);
  ~SessionEndHold();
  SessionEndHold(const SessionEndHold&) = delete;
  SessionEndHold& operator=(const SessionEndHold&) = delete;

 private:
  struct Native;
  std::unique_ptr<Native> native_;
};

}  // namespace kesto
