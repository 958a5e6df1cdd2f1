// Quoting and unquoting command-line words by the Windows C runtime's rules, two-byte
// characters kept whole (the second byte of a pair may be a backslash).
#include "runtime/posix/windows_command_line.h"

#include "runtime/gbk_chars.h"

namespace kesto::posix {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

Text Quote(const Text& word) {
  if (!word.empty() && word.find_first_of(" \t\"") == Text::npos) return word;
  Text quoted = "\"";
  std::size_t backslashes = 0;
  for (std::size_t pos = 0; pos < word.size();) {
    std::size_t length = gbk::CharLength(word, pos);
    if (length == 1 && word[pos] == '\\') {
      ++backslashes;
    } else {
      if (length == 1 && word[pos] == '"') quoted.append(backslashes + 1, '\\');
      backslashes = 0;
    }
    quoted.append(word, pos, length);
    pos += length;
  }
  quoted.append(backslashes, '\\');
  return quoted + "\"";
}

}  // namespace

Text JoinCommandLine(const std::vector<Text>& words) {
  Text line;
  for (const Text& word : words) {
    if (!line.empty()) line += ' ';
    line += Quote(word);
  }
  return line;
}

std::vector<Text> SplitArguments(const Text& text) {
  std::vector<Text> args;
  std::size_t pos = 0;
  for (;;) {
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    if (pos >= text.size()) return args;
    Text arg;
    bool quoted = false;
    while (pos < text.size() && (quoted || !IsBlank(text[pos]))) {
      std::size_t length = gbk::CharLength(text, pos);
      if (length == 2) {
        arg.append(text, pos, 2);
        pos += 2;
        continue;
      }
      std::size_t backslashes = 0;
      while (pos + backslashes < text.size() && text[pos + backslashes] == '\\') ++backslashes;
      if (backslashes > 0) {
        pos += backslashes;
        bool beforeQuote = pos < text.size() && text[pos] == '"';
        arg.append(beforeQuote ? backslashes / 2 : backslashes, '\\');
        if (beforeQuote && backslashes % 2 == 1) {
          arg += '"';
          ++pos;
        }
      } else if (text[pos] == '"') {
        if (quoted && pos + 1 < text.size() && text[pos + 1] == '"') {
          arg += '"';
          pos += 2;
        } else {
          quoted = !quoted;
          ++pos;
        }
      } else {
        arg += text[pos++];
      }
    }
    args.push_back(arg);
  }
}

}  // namespace kesto::posix
