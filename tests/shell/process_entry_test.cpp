#include "shell/process_entry.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "layouts/names.h"
#include "runtime/headless/controls.h"
#include "runtime/headless/frame.h"
#include "runtime/posix/native_text.h"
#include "runtime/program_file.h"
#include "runtime/ui.h"
#include "shell/globals.h"

namespace kesto::shell {
namespace {

Text folderAtCreation;
int platformFieldsAtCreation = 0;

// Stands in for the real handlers: records what the created event saw, and with "end" on the
// command line ends the program from inside it, as a duplicate start does.
void BindTestHandlers() {
  ui::RegisterHandler(names::kOnMainWindowCreated, [](const ui::EventArgs&) -> ui::EventResult {
    folderAtCreation = CurrentDirectory();
    platformFieldsAtCreation = PlatformInfo.Count();
    Array<Text> args;
    CommandLineArgs(args);
    if (args.Count() > 0 && args[1] == "end") EndProgram(0);
    return std::nullopt;
  });
}

class ProcessEntryRun : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::ResetAll();
    previous_ = std::filesystem::current_path();
    char name[] = "/tmp/kesto-entry-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    folder_ = name;
    program_ = folder_ + "/kesto";
    OverrideProgramFile(posix::FromNativePath(program_));
    folderAtCreation.clear();
    platformFieldsAtCreation = 0;
  }
  void TearDown() override {
    RegisterExitRoutine(nullptr);
    OverrideProgramFile("");
    ui::RegisterHandler(names::kOnMainWindowCreated, nullptr);
    headless::ResetAll();
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(folder_);
  }

  // Runs the entry from another folder, then ends the program as main() does; gives the exit
  // code and how often the global state was released meanwhile.
  int RunToTheEnd(std::vector<std::string> args) {
    std::filesystem::current_path("/");
    args.insert(args.begin(), program_);
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    try {
      int result = ProcessEntry(static_cast<int>(args.size()), argv.data(), BindTestHandlers);
      EXPECT_NE(AppConfig, nullptr) << "released before the end";
      EndProgram(result);
    } catch (const headless::ProgramEnded& end) {
      return end.exitCode;
    }
    ADD_FAILURE() << "the program did not end";
    return 0;
  }

  std::filesystem::path previous_;
  std::string folder_;
  std::string program_;
};

TEST_F(ProcessEntryRun, LoadsTheMainWindowInTheProgramFolderAndReturnsZero) {
  EXPECT_EQ(RunToTheEnd({}), 0);
  EXPECT_EQ(folderAtCreation, posix::FromNativePath(folder_));
  EXPECT_EQ(platformFieldsAtCreation, 6);
  EXPECT_TRUE(headless::IsLoaded(names::kMainWindow));
  // Ending released the global state.
  EXPECT_EQ(AppConfig, nullptr);
  EXPECT_EQ(PlatformInfo.Count(), 0);
}

TEST_F(ProcessEntryRun, AnEndDuringStartUpReleasesTheGlobalStateOnce) {
  EXPECT_EQ(RunToTheEnd({"end"}), 0);
  EXPECT_EQ(AppConfig, nullptr);
  // The release ran and was forgotten: a later end leaves fresh global state alone.
  InitGlobals();
  try {
    EndProgram(1);
  } catch (const headless::ProgramEnded&) {
  }
  EXPECT_NE(AppConfig, nullptr);
  ReleaseGlobals();
}

}  // namespace
}  // namespace kesto::shell
