// RuntimeStart on POSIX: the program's own path from argv[0], its folder made the current
// directory, and the Windows-form command line the program reads its arguments from.
#include "runtime/posix/program_start.h"

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "runtime/command_line.h"
#include "runtime/core.h"
#include "runtime/posix/native_text.h"
#include "runtime/posix/windows_command_line.h"
#include "runtime/toolkit.h"

namespace kesto {

namespace {

struct StartState {
  std::mutex lock;
  std::string folder;
  Text fileName;
  Text commandLine;
};

StartState& State() {
  static StartState state;
  return state;
}

bool IsProgramFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

// "." and ".." parts and doubled slashes removed without following links, so the folder is the
// one the program was started from.
std::string Normalise(const std::string& absolute) {
  std::vector<std::string> parts;
  std::size_t pos = 0;
  while (pos <= absolute.size()) {
    std::size_t slash = absolute.find('/', pos);
    if (slash == std::string::npos) slash = absolute.size();
    std::string part = absolute.substr(pos, slash - pos);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    pos = slash + 1;
  }
  std::string result;
  for (const std::string& part : parts) result += "/" + part;
  return result.empty() ? "/" : result;
}

// argv[0] made absolute: relative to the current directory when it holds a "/", else looked
// up on PATH; the running executable when neither works.
std::string ProgramPath(const char* argv0) {
  std::string name = argv0 ? argv0 : "";
  if (name.find('/') != std::string::npos) {
    if (name[0] == '/') return Normalise(name);
    char cwd[PATH_MAX];
    if (getcwd(cwd, sizeof cwd)) return Normalise(std::string(cwd) + "/" + name);
  } else if (!name.empty()) {
    for (const std::string& folder : posix::PathFolders()) {
      std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
      if (IsProgramFile(candidate)) return ProgramPath(candidate.c_str());
    }
  }
  char self[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  return length > 0 ? std::string(self, static_cast<std::size_t>(length)) : std::string{};
}

}  // namespace

void RuntimeStart(int argc, char** argv) {
  std::string path = ProgramPath(argc > 0 ? argv[0] : nullptr);
  std::size_t slash = path.rfind('/');
  std::string folder = slash == 0 ? "/" : path.substr(0, slash);
  std::vector<Text> words{posix::FromNativePath(path)};
  for (int i = 1; i < argc; ++i) words.push_back(posix::Utf8ToGbk(argv[i]));
  {
    auto& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    state.folder = folder;
    state.fileName = posix::FromNativePath(path.substr(slash + 1));
    state.commandLine = posix::JoinCommandLine(words);
  }
  if (!folder.empty()) {
    // A folder that cannot be entered leaves the current directory as it is.
    [[maybe_unused]] int changed = chdir(folder.c_str());
  }
  toolkit::Start(argc, argv);
}

Text ProgramFileName() {
  auto& state = State();
  std::lock_guard<std::mutex> guard(state.lock);
  return state.fileName;
}

Text ProcessCommandLine() {
  auto& state = State();
  std::lock_guard<std::mutex> guard(state.lock);
  return state.commandLine;
}

std::string posix::ProgramFolder() {
  auto& state = State();
  std::lock_guard<std::mutex> guard(state.lock);
  return state.folder;
}

std::vector<std::string> posix::PathFolders() {
  const char* path = std::getenv("PATH");
  std::string list = path ? path : "";
  std::vector<std::string> folders;
  for (std::size_t pos = 0; pos <= list.size();) {
    std::size_t colon = std::min(list.find(':', pos), list.size());
    folders.push_back(list.substr(pos, colon - pos));
    pos = colon + 1;
  }
  return folders;
}

}  // namespace kesto
