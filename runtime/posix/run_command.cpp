// RunCommand on POSIX: the program word found by the Windows rules, the program file (of any
// extension: a script with "#!" and the execute bit will do) started directly.
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <thread>

#include "runtime/core.h"
#include "runtime/posix/command_spawn.h"
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

// Where a bare program name is looked for: the program's folder, the current directory and then
// PATH (whose empty entries name no folder).
std::vector<std::string> SearchFolders() {
  std::vector<std::string> folders{posix::ProgramFolder(), "."};
  for (std::string& folder : posix::PathFolders()) folders.push_back(std::move(folder));
  return folders;
}

struct Program {
  std::string word;  // native, as the program receives it
  std::string path;
};

// A name with a folder is taken as it is; a bare name is looked for in `folders`.
std::optional<Program> FindProgram(const Text& word, const std::vector<std::string>& folders) {
  auto native = posix::ToNativePath(word);
  if (!native || native->empty()) return std::nullopt;
  if (native->find('/') != std::string::npos) {
    if (auto found = FileIn("", *native)) return Program{*native, *found};
    return std::nullopt;
  }
  for (const std::string& folder : folders) {
    if (folder.empty()) continue;
    if (auto found = FileIn(folder, *native)) return Program{*native, *found};
  }
  return std::nullopt;
}

struct Command {
  Program program;
  Text arguments;
};

// The program word: a quoted run, or the shortest run up to a blank that names a program file
// (so an unquoted path with spaces still works, as on Windows).
std::optional<Command> FindProgramWord(const Text& commandLine) {
  std::size_t start = commandLine.find_first_not_of(" \t");
  if (start == Text::npos) return std::nullopt;
  // Read once for every word tried.
  std::vector<std::string> folders = SearchFolders();
  if (commandLine[start] == '"') {
    std::size_t close = commandLine.find('"', start + 1);
    std::size_t end = close == Text::npos ? commandLine.size() : close;
    auto program = FindProgram(commandLine.substr(start + 1, end - start - 1), folders);
    if (!program) return std::nullopt;
    return Command{*program, close == Text::npos ? Text{} : commandLine.substr(close + 1)};
  }
  for (std::size_t end = start;;) {
    end = commandLine.find_first_of(" \t", end + 1);
    if (end == Text::npos) end = commandLine.size();
    if (auto program = FindProgram(commandLine.substr(start, end - start), folders)) {
      return Command{*program, commandLine.substr(end)};
    }
    if (end == commandLine.size()) return std::nullopt;
  }
}

// Started with default signal handling and no inherited descriptors beyond the standard three;
// glibc reports a failed exec as posix_spawn's result.
bool Spawn(const Command& command, pid_t& pid) {
  const Program& program = command.program;
  std::vector<std::string> words{program.word};
  for (const Text& arg : posix::SplitArguments(command.arguments)) {
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

bool posix::SpawnCommandLine(const Text& commandLine, pid_t& pid) {
  auto command = FindProgramWord(commandLine);
  return command && Spawn(*command, pid);
}

// The show mode has no meaning here: a started program shows its own windows.
bool RunCommand(const Text& commandLine, bool wait, std::optional<int>) {
  pid_t pid = 0;
  if (!posix::SpawnCommandLine(commandLine, pid)) return false;
  if (wait) {
    WaitFor(pid);
  } else {
    // The child is running once posix_spawn has returned; it is reaped whenever it ends.
    std::thread([pid] { WaitFor(pid); }).detach();
  }
  return true;
}

}  // namespace kesto
