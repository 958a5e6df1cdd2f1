#include "shell/process_entry.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "layouts/names.h"
#include "runtime/headless/controls.h"
#include "runtime/headless/frame.h"
#include "runtime/program_file.h"
#include "runtime/ui.h"
#include "shell/globals.h"
#include "tests/program/temp_program_folder.h"

namespace kesto::shell {
namespace {

Text folderAtCreation;
int platformFieldsAtCreation = 0;
bool endAtCreation = false;

// Stands in for the real handlers: records what the created event saw, and when asked ends the
// program from inside it, as a duplicate start does.
void BindTestHandlers() {
  ui::RegisterHandler(names::kOnMainWindowCreated, [](const ui::EventArgs&) -> ui::EventResult {
    folderAtCreation = CurrentDirectory();
    platformFieldsAtCreation = PlatformInfo.Count();
    if (endAtCreation) EndProgram(0);
    return std::nullopt;
  });
}

class ProcessEntryRun : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::ResetAll();
    OverrideProgramFile(folder_.Inside("kesto"));
    folderAtCreation.clear();
    platformFieldsAtCreation = 0;
    endAtCreation = false;
  }
  void TearDown() override {
    RegisterExitRoutine(nullptr);
    OverrideProgramFile("");
    ui::RegisterHandler(names::kOnMainWindowCreated, nullptr);
    headless::ResetAll();
  }

  // Runs the entry from another folder, then ends the program as main() does; gives the exit
  // code and how often the global state was released meanwhile.
  int RunToTheEnd() {
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    std::string program = (folder_ / "kesto").string();
    char* argv[] = {program.data(), nullptr};
    try {
      int result = ProcessEntry(1, argv, BindTestHandlers);
      EXPECT_NE(AppConfig, nullptr) << "released before the end";
      EndProgram(result);
    } catch (const headless::ProgramEnded& end) {
      return end.exitCode;
    }
    ADD_FAILURE() << "the program did not end";
    return 0;
  }

  testing::TempProgramFolder folder_;
};

TEST_F(ProcessEntryRun, LoadsTheMainWindowInTheProgramFolderAndReturnsZero) {
  EXPECT_EQ(RunToTheEnd(), 0);
  EXPECT_EQ(folderAtCreation, folder_.Inside());
  EXPECT_EQ(platformFieldsAtCreation, 6);
  EXPECT_TRUE(headless::IsLoaded(names::kMainWindow));
  // Ending released the global state.
  EXPECT_EQ(AppConfig, nullptr);
  EXPECT_EQ(PlatformInfo.Count(), 0);
}

TEST_F(ProcessEntryRun, AnEndDuringStartUpReleasesTheGlobalStateOnce) {
  endAtCreation = true;
  EXPECT_EQ(RunToTheEnd(), 0);
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
