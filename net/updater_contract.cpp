#include "net/updater_contract.h"

namespace kesto::net {

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
  Text command = "\"";
  command += UpdaterPath() + "\" " + kUpdaterSwitch;
  return RunCommand(command, false);
}

}  // namespace kesto::net
