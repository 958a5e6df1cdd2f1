#include "net/updater_contract.h"

#include "runtime/profile_guards.h"

namespace kesto::net {

namespace {
constexpr char kUpdaterFileName[] = "up.qmz";
}

Text UpdaterPath() {
  return CurrentDirectory() + "\\" + kUpdaterFileName;
}

bool UpdaterExists() {
  return FileExists(UpdaterPath());
}

bool StartUpdater() {
  return RunCommand(Text(kUpdaterFileName) + " " + kUpdaterSwitch, false);
}

// Quoted, so a program folder with a blank in its path still names the updater.
bool StartUpdaterByFullPath() {
  return RunCommand("\"" + UpdaterPath() + "\" " + kUpdaterSwitch, false);
}

// Searched character by character, so a two-byte character whose second byte happens to be
// "[" or "]" is still a valid name.
bool IsSafeAppKey(const Text& key) {
  if (key.empty() || key.find('\0') != Text::npos) return false;
  for (const char* unsafe : {"\r", "\n", "[", "]", "="}) {
    if (FindText(key, unsafe) != -1) return false;
  }
  // Written as a value and as a key: one the profile calls cannot take would leave the updater
  // with the run target written before it.
  return StorableInProfile("wm", key, key);
}

}  // namespace kesto::net
