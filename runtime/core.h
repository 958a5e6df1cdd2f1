// Core services: the value, text, byte-array, file, profile-file, process and dialog operations
// that the platform's own code is written against. Texts are GBK byte strings; positions are
// 1-based; a failed search gives -1; failures come back as results, never as exceptions.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kesto {

// A zero-terminated GBK byte string; the empty text stands for an absent one.
using Text = std::string;
// A length and that many bytes, zero bytes allowed.
using Bytes = std::vector<std::uint8_t>;

// Failed internal checks end the program (see FatalError below).
[[noreturn]] void FatalError(int errorNumber, const Text& message);

// A dynamic array indexed from 1 whose element access is checked like the original runtime's.
template <class T>
class Array {
 public:
  Array() = default;
  Array(std::initializer_list<T> items) : items_(items) {}
  explicit Array(std::vector<T> items) : items_(std::move(items)) {}

  int Count() const { return static_cast<int>(items_.size()); }
  void Append(T value) { items_.push_back(std::move(value)); }
  void Clear() { items_.clear(); }
  T& operator[](int index) { return items_[Checked(index)]; }
  const T& operator[](int index) const { return items_[Checked(index)]; }
  const std::vector<T>& Items() const { return items_; }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }
  bool operator==(const Array&) const = default;

 private:
  std::size_t Checked(int index) const {
    if (index < 1) FatalError(4, "数组成员引用下标必须大于等于1");
    if (index > Count()) FatalError(1, "数组成员引用下标超出定义范围");
    return static_cast<std::size_t>(index - 1);
  }
  std::vector<T> items_;
};

// ---- text ----
int TextLength(const Text& text);
Text LeftText(const Text& text, int n);
Text RightText(const Text& text, int n);
Text MidText(const Text& text, int start, int length);
int FindText(const Text& text, const Text& find, std::optional<int> start = {},
             bool ignoreCase = false);
int FindLastText(const Text& text, const Text& find, std::optional<int> start = {},
                 bool ignoreCase = false);
Text ReplaceText(const Text& text, const Text& find, const Text& replacement = "",
                 std::optional<int> start = {}, std::optional<int> count = {},
                 bool caseSensitive = true);
Array<Text> SplitText(const Text& text, std::optional<Text> separator = {},
                      std::optional<int> maxCount = {});
Text TrimBoth(const Text& text);
Text RemoveSpaces(const Text& text);
Text ToLower(const Text& text);
Text CharText(int code);
int CharCode(const Text& text, int position = 1);
Text Spaces(int n);

// ---- conversions and numbers ----
Text ToText(int value);
Text ToText(const Bytes& bytes);
Text ToText(bool value);
int ToInteger(const Text& text);
int ToInteger(double value);
Bytes ToBytes(const Text& text);
double FixDecimals(double x, int places = 0);
double Remainder(double a, double b);
int BitAnd(std::initializer_list<int> values);
int BitOr(std::initializer_list<int> values);
int BitXor(std::initializer_list<int> values);
int ShiftLeft(int value, int n);
int ShiftRight(int value, int n);
int ColorValue(int red, int green, int blue);

// ---- byte arrays ----
int BytesLength(const Bytes& bytes);
Bytes LeftBytes(const Bytes& bytes, int n);
Bytes RightBytes(const Bytes& bytes, int n);
Bytes ZeroBytes(int n);
Bytes RepeatBytes(int count, const Bytes& bytes);
Array<Bytes> SplitBytes(const Bytes& bytes, std::optional<Bytes> separator = {},
                        std::optional<int> maxCount = {});

// ---- files, folders and profile files (paths use "\" inside the program) ----
Text CurrentDirectory();
Text ProgramFileName();
bool FileExists(const Text& path);
Bytes ReadFileBytes(const Text& path);
// Creates or replaces the file with the parts in order, as one FileReplacement.
bool WriteFileBytes(const Text& path, std::initializer_list<Bytes> parts);
// A file written piece by piece that takes the place of the file at `path` only when committed:
// the bytes go to a temporary file beside it, which Commit() renames over it, so a reader (in
// this or another process) sees the old file or the whole new one, never a half-written one.
// Dropped, the old file untouched, when destroyed uncommitted or after a failed write. A
// read-only file or a folder is never replaced.
class FileReplacement {
 public:
  explicit FileReplacement(const Text& path);
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;
  // False once any write has failed, or when the temporary file could not be made.
  bool Write(const std::uint8_t* data, std::size_t size);
  // Puts the file in place; false, with the temporary file gone, when it cannot.
  bool Commit();

 private:
  struct Native;
  std::unique_ptr<Native> native_;
};
// Lets a saved file be started as a program (a downloaded updater). On POSIX a written file
// cannot run without its execute permission; Windows runs a program file by its content.
bool MakeRunnable(const Text& path);

// File attribute bits as a folder listing reports them.
enum FileAttribute : int {
  kAttrReadOnly = 0x01,
  kAttrHidden = 0x02,
  kAttrSystem = 0x04,
  kAttrDirectory = 0x10,
  kAttrArchive = 0x20,
};
// A listing in progress; 0 when none is open.
using FindHandle = std::intptr_t;
Text FindFiles(const Text& pattern, int attributeMask, bool filesOnly, FindHandle& handle);
void CloseFind(FindHandle& handle);
// The whole listing of a pattern at once, each name marked as a folder or not, in the order
// FindFiles gives the names: a walk that wants a folder's sub-folders and its files reads the
// folder once instead of twice.
struct ListedEntry {
  Text name;
  bool folder = false;
};
std::vector<ListedEntry> ListFolder(const Text& pattern);
// A text that is the same for every path naming the same folder (through links or any other
// spelling); empty when the folder cannot be reached. Lets a folder walk notice a loop.
Text FolderIdentity(const Text& path);

Text ReadIniValue(const Text& file, const Text& section, const Text& key,
                  const Text& defaultValue = "");
bool WriteIniValue(const Text& file, const Text& section, std::optional<Text> key = {},
                   std::optional<Text> value = {});

// ---- processes, time and dialogs ----
bool RunCommand(const Text& commandLine, bool wait, std::optional<int> showMode = {});
void CommandLineArgs(Array<Text>& out);
int TickCount();
void ProcessEvents();
std::uint32_t CurrentProcessId();
// The program files a running process is known by: the file of its image and, for a program
// that an interpreter runs, the script named at the front of its command line. Full paths;
// none when the process is gone or cannot be inspected.
Array<Text> ProcessProgramFiles(std::uint32_t processId);

// Message-box flags and pressed-button results.
enum MessageFlags : int {
  kMbOk = 0x0,
  kMbOkCancel = 0x1,
  kMbIconStop = 0x10,
  kMbIconInformation = 0x40,
  kMbSystemModal = 0x1000,
  kMbTaskModal = 0x2000,
};
enum MessageResult : int { kIdOk = 0, kIdCancel = 1, kIdAbort, kIdRetry, kIdIgnore, kIdYes, kIdNo };
int ShowMessage(const Text& message, int flags, const Text& caption = "信息：");
int ShowMessage(int message, int flags, const Text& caption = "信息：");
int ShowMessage(bool message, int flags, const Text& caption = "信息：");
// A literal is a text: without this it would be shown as the logical "真".
inline int ShowMessage(const char* message, int flags, const Text& caption = "信息：") {
  return ShowMessage(Text(message), flags, caption);
}

// ---- program frame ----
// The program file is the running executable's own (links followed), its folder becomes the
// current directory; the arguments after argv[0] become the Windows-style command line.
void RuntimeStart(int argc, char** argv);
void RegisterExitRoutine(std::function<void()> routine);
// Ends the process: runs the exit routine exactly once, then exits with the code.
[[noreturn]] void EndProgram(int exitCode);

}  // namespace kesto
