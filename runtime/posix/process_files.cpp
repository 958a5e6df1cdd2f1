// What a running process runs, from /proc: its image, and the script an interpreter was given.
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/core.h"
#include "runtime/posix/native_text.h"

namespace kesto {

namespace {

std::string ReadLink(const std::string& path) {
  char target[PATH_MAX];
  ssize_t length = readlink(path.c_str(), target, sizeof target - 1);
  return length > 0 ? std::string(target, static_cast<std::size_t>(length)) : std::string{};
}

// The kernel marks an image replaced on disk since the start (a program the updater renewed).
std::string WithoutDeletedMark(std::string path) {
  const std::string mark = " (deleted)";
  if (path.size() > mark.size() && path.ends_with(mark)) path.resize(path.size() - mark.size());
  return path;
}

std::vector<std::string> CommandWords(const std::string& procFolder) {
  std::ifstream in(procFolder + "/cmdline", std::ios::binary);
  std::string all{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::vector<std::string> words;
  for (std::size_t pos = 0; pos < all.size();) {
    std::size_t end = all.find('\0', pos);
    if (end == std::string::npos) end = all.size();
    words.push_back(all.substr(pos, end - pos));
    pos = end + 1;
  }
  return words;
}

// A command-line word as the file it names, seen from the process's own folder.
std::string ResolvedFile(const std::string& word, const std::string& workingFolder) {
  if (word.empty()) return {};
  std::string path = word[0] == '/' ? word : workingFolder + "/" + word;
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) ? std::string(resolved) : std::string{};
}

}  // namespace

std::uint32_t CurrentProcessId() {
  return static_cast<std::uint32_t>(getpid());
}

Array<Text> ProcessProgramFiles(std::uint32_t processId) {
  Array<Text> files;
  if (processId == 0) return files;
  const std::string folder = "/proc/" + std::to_string(processId);
  const std::string image = WithoutDeletedMark(ReadLink(folder + "/exe"));
  if (image.empty()) return files;
  files.Append(posix::FromNativePath(image));
  // An interpreter takes its options first; the script is the first word after them.
  const std::vector<std::string> words = CommandWords(folder);
  const std::string workingFolder = ReadLink(folder + "/cwd");
  std::vector<std::string> named;
  if (!words.empty()) named.push_back(words[0]);
  auto script = std::find_if(words.begin() + (words.empty() ? 0 : 1), words.end(),
                             [](const std::string& word) { return !word.starts_with("-"); });
  if (script != words.end()) named.push_back(*script);
  for (const std::string& word : named) {
    std::string file = ResolvedFile(word, workingFolder);
    if (!file.empty() && file != image) files.Append(posix::FromNativePath(file));
  }
  return files;
}

}  // namespace kesto
