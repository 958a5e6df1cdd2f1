// CommandLineArgs: the arguments of the process's command line.
#include "runtime/command_line.h"

namespace kesto {

namespace {
bool IsSeparator(char c) {
  return static_cast<unsigned char>(c) < 0x21;
}

// Offset just after the program's own path.
std::size_t SkipProgramPath(const Text& line) {
  if (!line.empty() && line[0] == '"') {
    std::size_t close = line.find('"', 1);
    if (close == Text::npos) return line.size();
    std::size_t after = close + 1;
    return after < line.size() && line[after] == ' ' ? after + 1 : after;
  }
  std::size_t space = line.find(' ');
  return space == Text::npos ? line.size() : space + 1;
}
}  // namespace

Array<Text> ParseCommandLineArgs(const Text& commandLine) {
  Array<Text> args;
  std::size_t pos = SkipProgramPath(commandLine);
  while (pos < commandLine.size()) {
    if (IsSeparator(commandLine[pos])) {
      ++pos;
    } else if (commandLine[pos] == '"') {
      std::size_t close = commandLine.find('"', pos + 1);
      std::size_t end = close == Text::npos ? commandLine.size() : close;
      args.Append(commandLine.substr(pos + 1, end - pos - 1));
      pos = close == Text::npos ? end : end + 1;
    } else {
      std::size_t end = pos;
      while (end < commandLine.size() && commandLine[end] != '"' &&
             !IsSeparator(commandLine[end])) {
        ++end;
      }
      args.Append(commandLine.substr(pos, end - pos));
      pos = end;
    }
  }
  return args;
}

void CommandLineArgs(Array<Text>& out) {
  out = ParseCommandLineArgs(ProcessCommandLine());
}

}  // namespace kesto
