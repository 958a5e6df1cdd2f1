// Runs the platform as its process entry does, on the headless toolkit, in a temporary program
// folder with real files: qmztx.ini, reg.qmz made by regtool, the app folder, and a program
// standing in for the updater up.qmz that records how it was started.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "runtime/core.h"
#include "runtime/headless/controls.h"
#include "runtime/headless/frame.h"
#include "runtime/headless/native_windows.h"
#include "shell/window_refs.h"
#include "tests/program/temp_program_folder.h"

namespace kesto::testing {

// One start of the stand-in updater, as it recorded it.
struct UpdaterStart {
  std::string args;  // its arguments joined by blanks
  std::string cwd;   // the folder it was started in (UTF-8)
  std::string run;   // [wm] run= as it found it
  std::string name;  // [wm] name= as it found it
};

class PlatformTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts the platform with these arguments, its program file named "kesto" in the program
  // folder. Returns the exit code when start-up ended the program.
  std::optional<int> Start(const std::vector<std::string>& args);
  // Drains posted work (closes, chosen menu items); the exit code if that ended the program.
  std::optional<int> Drain();
  // Runs `action` on the user-interface thread; the exit code if it ended the program.
  template <class Action>
  std::optional<int> Ending(Action action) {
    try {
      action();
    } catch (const headless::ProgramEnded& end) {
      return end.exitCode;
    }
    return std::nullopt;
  }

  // reg.qmz from six values (UTF-8 on the command line), made by regtool.
  void WriteRegFile(const std::vector<std::string>& values);
  // reg.qmz holding the usual test values: number 5551234, company 测试公司, site
  // www.test.example, purchase page http://pay.test.example/buy, advert http://ad.test.example/.
  void WriteStandardRegFile();
  // The recording stand-in updater as up.qmz.
  void InstallUpdater();
  // The stand-in updater's program file, as a server would serve it.
  static std::string UpdaterProgram();
  // Waits until the updater has been started `count` times in all, and gives every start.
  std::vector<UpdaterStart> WaitForUpdaterStarts(std::size_t count);
  // Every start recorded so far, without waiting.
  std::vector<UpdaterStart> UpdaterStarts() const;

  // qmztx.ini's raw content, and one value of it through the profile functions.
  std::string ConfigText() const { return folder_.Read("qmztx.ini"); }
  Text ConfigValue(const Text& section, const Text& key) const;
  void RecordWindow(const Text& key, native::Handle window) const;

  int CurrentPage() const;
  std::vector<Text> MessageTexts() const;

  TempProgramFolder folder_;
};

}  // namespace kesto::testing
