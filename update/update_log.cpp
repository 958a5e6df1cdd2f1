#include "update/update_log.h"

#include <cstdio>
#include <ctime>

#include "runtime/tool_services.h"

namespace kesto::update {

namespace {
// The log keeps the last runs a seller could send: past this size its older half goes.
constexpr std::size_t kMostLogBytes = 64 * 1024;
}  // namespace

Text UpdateLogPath() {
  return CurrentDirectory() + "\\up.log";
}

void LogLine(const Text& message) {
  std::fprintf(stderr, "up.qmz: %s\n", TextToUtf8(message).c_str());
  std::fflush(stderr);
  char stamp[32];
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S ", &local);
  Bytes log = ReadFileBytes(UpdateLogPath());
  if (log.size() > kMostLogBytes) {
    // From the first whole line of the newer half.
    std::size_t from = log.size() - kMostLogBytes / 2;
    while (from < log.size() && log[from - 1] != '\n') ++from;
    log.erase(log.begin(), log.begin() + static_cast<std::ptrdiff_t>(from));
  }
  WriteFileBytes(UpdateLogPath(), {log, ToBytes(Text(stamp) + message + "\r\n")});
}

}  // namespace kesto::update
