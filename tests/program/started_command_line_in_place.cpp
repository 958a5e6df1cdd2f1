// Where the runtime reads the command line the system recorded for the process, the test
// writes the started program's words over the test program's own line, in place: the recorded
// line is that buffer. The program's own word goes as its file name alone (the runtime takes the
// program file from elsewhere), so the line fits in the room of the test program's path.
#include <windows.h>

#include <cwchar>
#include <stdexcept>

#include "tests/program/started_command_line.h"

namespace kesto::testing {

namespace {

std::wstring Wide(const std::string& utf8) {
  int length =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
  return wide;
}

}  // namespace

void UseStartedCommandLine(const std::vector<std::string>& words) {
  static const std::size_t room = std::wcslen(GetCommandLineW());
  std::wstring line;
  for (std::string word : words) {
    if (line.empty()) {
      word = word.substr(word.find_last_of("/\\") + 1);
    } else {
      line += L' ';
    }
    // The runtime's reading takes a quoted run as one word, without escapes.
    bool quoted = word.empty() || word.find_first_of(" \t") != std::string::npos;
    line += quoted ? L"\"" + Wide(word) + L"\"" : Wide(word);
  }
  if (line.size() > room) throw std::length_error("command line longer than the test program's");
  wchar_t* recorded = GetCommandLineW();
  line.copy(recorded, line.size());
  recorded[line.size()] = L'\0';
}

}  // namespace kesto::testing
