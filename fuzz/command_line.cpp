// The Windows command line: words joined as a Windows program's C runtime reads them split
// back into the same words, and the platform's own argument reading keeps to the line's bytes.
#include "runtime/command_line.h"

#include <vector>

#include "fuzz/fuzz_check.h"
#include "runtime/posix/windows_command_line.h"

namespace {

using kesto::Text;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kesto::fuzz::InputReader input(data, size);
  const Text line = input.Piece();

  for (const Text& arg : kesto::posix::SplitArguments(line)) {
    FUZZ_CHECK(arg.size() <= line.size());
  }
  for (const Text& arg : kesto::ParseCommandLineArgs(line)) {
    FUZZ_CHECK(arg.find('"') == Text::npos && line.find(arg) != Text::npos);
  }

  std::vector<Text> words;
  while (!input.AtEnd() && words.size() < 8) words.push_back(input.Piece());
  for (const Text& word : words) {
    // Words come from argv converted to GBK: whole characters only.
    if (!kesto::fuzz::IsWholeGbk(word)) return 0;
  }
  FUZZ_CHECK(kesto::posix::SplitArguments(kesto::posix::JoinCommandLine(words)) == words);
  return 0;
}
