#include "shell/program_windows.h"

#include "apps/path_helpers.h"
#include "net/updater_contract.h"
#include "shell/window_activation.h"

namespace kesto::shell {

namespace {

bool RunsFile(const Array<Text>& files, const Text& file) {
  for (const Text& candidate : files) {
    if (candidate == file) return true;
  }
  return false;
}

// An application file of the key, named as the installed-application scan names them.
bool RunsApplication(const Array<Text>& files, const Text& key) {
  for (const Text& file : files) {
    if (apps::TextAfterSeparator(file, ".") == "qmz" && apps::FileNameOf(file, true) == key) {
      return true;
    }
  }
  return false;
}

}  // namespace

bool IsProgramWindow(native::Handle window, const Text& key) {
  if (!IsLiveWindow(window)) return false;
  const std::uint32_t owner = native::WindowProcessId(window);
  if (owner == 0) return false;
  if (key == net::kPlatformRunTarget) {
    if (owner == CurrentProcessId()) return true;
    Array<Text> own = ProcessProgramFiles(CurrentProcessId());
    return own.Count() > 0 && RunsFile(ProcessProgramFiles(owner), own[1]);
  }
  return RunsApplication(ProcessProgramFiles(owner), key);
}

bool IsOwnWindow(native::Handle window) {
  return window != 0 && native::WindowProcessId(window) == CurrentProcessId();
}

}  // namespace kesto::shell
