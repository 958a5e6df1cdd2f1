// RuntimeStart on POSIX: the program's own path, its folder made the current directory, and the
// Windows-form command line the program reads its arguments from.
#include "runtime/posix/program_start.h"

#include <limits.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "runtime/command_line.h"
#include "runtime/core.h"
#include "runtime/posix/native_text.h"
#include "runtime/posix/windows_command_line.h"
#include "runtime/program_file.h"
#include "runtime/toolkit.h"

namespace kesto {

namespace {

struct StartState {
  std::mutex lock;
  std::string folder;
  Text commandLine;
};

StartState& State() {
  static StartState state;
  return state;
}

// The running program's own file, as GetModuleFileName gives it: the kernel's record of the
// executable, so a program started through a symbolic link finds its files beside the real one.
std::string RunningProgramFile() {
  std::string buffer(PATH_MAX, '\0');
  for (;;) {
    ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) < buffer.size()) {
      buffer.resize(static_cast<std::size_t>(length));
      return buffer;
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::string ProgramFile() {
  Text path = ProgramFileOverride();
  return path.empty() ? RunningProgramFile() : posix::ToNativePath(path).value_or(std::string{});
}

}  // namespace

void RuntimeStart(int argc, char** argv) {
  std::string path = ProgramFile();
  std::size_t slash = path.rfind('/');
  std::string folder = slash == 0 ? "/" : path.substr(0, slash);
  std::vector<Text> words{posix::FromNativePath(path)};
  for (int i = 1; i < argc; ++i) words.push_back(posix::Utf8ToGbk(argv[i]));
  {
    auto& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    state.folder = folder;
    state.commandLine = posix::JoinCommandLine(words);
  }
  RememberProgramFileName(posix::FromNativePath(path.substr(slash + 1)));
  if (!folder.empty()) {
    // A folder that cannot be entered leaves the current directory as it is.
    [[maybe_unused]] int changed = chdir(folder.c_str());
  }
  toolkit::Start(argc, argv);
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
