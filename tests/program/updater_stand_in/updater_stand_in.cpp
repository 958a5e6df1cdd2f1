// Stands in for the updater up.qmz: records each start as one tab-separated line of updater.log
// in its own folder: its arguments joined by blanks, the folder it was started in, and the run
// target and the platform name it finds in [wm] of that folder's qmztx.ini.
#include <filesystem>
#include <fstream>
#include <string>

#include "runtime/core.h"

int main(int argc, char** argv) {
  // Taken before the runtime enters the program folder.
  const std::u8string startedIn = std::filesystem::current_path().u8string();
  kesto::RuntimeStart(argc, argv);
  kesto::Array<kesto::Text> args;
  kesto::CommandLineArgs(args);
  kesto::Text joined;
  for (int i = 1; i <= args.Count(); ++i) joined += (i > 1 ? " " : "") + args[i];
  const kesto::Text config = kesto::CurrentDirectory() + "\\qmztx.ini";
  std::ofstream log("updater.log", std::ios::binary | std::ios::app);
  log << joined << '\t' << std::string(startedIn.begin(), startedIn.end()) << '\t'
      << kesto::ReadIniValue(config, "wm", "run") << '\t'
      << kesto::ReadIniValue(config, "wm", "name") << '\n';
  return 0;
}
