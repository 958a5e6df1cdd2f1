// RunCommand on POSIX: the program word found by the Windows rules, the program file (of any
// extension: a script with "#!" and the execute bit will do) started directly.
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <thread>

#include "runtime/core.h"
#include "runtime/posix/native_text.h"
#include "runtime/posix/program_start.h"
#include "runtime/posix/windows_command_line.h"

extern char** environ;

namespace kesto {

namespace {

bool IsFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The file `name` names in `folder` ("" for a name with its own folder), trying ".exe" after
// a name without an extension, as Windows does.
std::optional<std::string> FileIn(const std::string& folder, const std::string& name) {
  std::string path = folder.empty() ? name : folder + "/" + name;
  if (IsFile(path)) return path;
  std::size_t slash = name.rfind('/');
  bool hasExtension =
      name.find('.', slash == std::string::npos ? 0 : slash + 1) != std::string::npos;
  if (!hasExtension && IsFile(path + ".exe")) return path + ".exe";
  return std::nullopt;
}

// A name with a folder is taken as it is; a bare name is looked for in the program's folder,
// the current directory and then on PATH.
std::optional<std::string> FindProgram(const Text& word) {
  auto native = posix::ToNativePath(word);
  if (!native || native->empty()) return std::nullopt;
  if (native->find('/') != std::string::npos) return FileIn("", *native);
  std::vector<std::string> folders{posix::ProgramFolder(), "."};
  const char* path = std::getenv("PATH");
  std::string list = path ? path : "";
  for (std::size_t pos = 0; pos <= list.size();) {
    std::size_t colon = std::min(list.find(':', pos), list.size());
    folders.push_back(list.substr(pos, colon - pos));
    pos = colon + 1;
  }
  for (const std::string& folder : folders) {
    if (folder.empty()) continue;
    if (auto found = FileIn(folder, *native)) return found;
  }
  return std::nullopt;
}

struct Program {
  Text word;
  std::string path;
  Text arguments;
};

// The program word: a quoted run, or the shortest run up to a blank that names a program file
// (so an unquoted path with spaces still works, as on Windows).
std::optional<Program> FindProgramWord(const Text& commandLine) {
  std::size_t start = commandLine.find_first_not_of(" \t");
  if (start == Text::npos) return std::nullopt;
  if (commandLine[start] == '"') {
    std::size_t close = commandLine.find('"', start + 1);
    std::size_t end = close == Text::npos ? commandLine.size() : close;
    Text word = commandLine.substr(start + 1, end - start - 1);
    auto path = FindProgram(word);
    if (!path) return std::nullopt;
    return Program{word, *path, close == Text::npos ? Text{} : commandLine.substr(close + 1)};
  }
  for (std::size_t end = start;;) {
    end = commandLine.find_first_of(" \t", end + 1);
    if (end == Text::npos) end = commandLine.size();
    Text word = commandLine.substr(start, end - start);
    if (auto path = FindProgram(word)) return Program{word, *path, commandLine.substr(end)};
    if (end == commandLine.size()) return std::nullopt;
  }
}

// Started with default signal handling and no inherited descriptors beyond the standard three;
// glibc reports a failed exec as posix_spawn's result.
bool Spawn(const Program& program, pid_t& pid) {
  std::vector<std::string> words{*posix::ToNativePath(program.word)};
  for (const Text& arg : posix::SplitArguments(program.arguments)) {
    words.push_back(posix::GbkToUtf8(arg));
  }
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  int error = posix_spawn(&pid, program.path.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  return error == 0;
}

void WaitFor(pid_t pid) {
  while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace

// The show mode has no meaning here: a started program shows its own windows.
bool RunCommand(const Text& commandLine, bool wait, std::optional<int>) {
  auto program = FindProgramWord(commandLine);
  pid_t pid = 0;
  if (!program || !Spawn(*program, pid)) return false;
  if (wait) {
    WaitFor(pid);
  } else {
    // The child is running once posix_spawn has returned; it is reaped whenever it ends.
    std::thread([pid] { WaitFor(pid); }).detach();
  }
  return true;
}

}  // namespace kesto
