#include "apps/app_config.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "runtime/headless/native_windows.h"
#include "tests/program/running_program.h"
#include "tests/program/temp_program_folder.h"

namespace kesto {
namespace {

// Each test runs in a fresh platform folder made the current directory.
class AppConfigFile : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    root_ = testing::MakeTempFolder("kesto-config-");
    std::filesystem::current_path(root_);
    headless::ResetFakeWindows();
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(root_);
  }

  void WriteIni(const std::string& content, const std::string& folder = "") {
    std::ofstream(root_ / folder / "qmztx.ini", std::ios::binary) << content;
  }
  std::string ReadIni() {
    std::ifstream in(root_ / "qmztx.ini", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  Text Inside(const std::filesystem::path& path) { return testing::InsidePath(path); }

  std::filesystem::path previous_;
  std::filesystem::path root_;
  AppConfig config;
};

TEST_F(AppConfigFile, PathIsInTheCurrentDirectory) {
  EXPECT_EQ(config.configPath(), "");
  EXPECT_EQ(config.GetConfigPath(), Inside(root_ / "qmztx.ini"));
  EXPECT_EQ(config.configPath(), Inside(root_ / "qmztx.ini"));
}

TEST_F(AppConfigFile, BelowAnAppFolderThePathIsTwoLevelsUp) {
  std::filesystem::create_directories(root_ / "app" / "tool");
  std::filesystem::current_path(root_ / "app" / "tool");
  EXPECT_EQ(config.UpdateConfigPath(), Inside(root_ / "qmztx.ini"));
  // "\app" also matches the start of a longer name such as "apps".
  std::filesystem::create_directories(root_ / "apps" / "x");
  std::filesystem::current_path(root_ / "apps" / "x");
  EXPECT_EQ(config.UpdateConfigPath(), Inside(root_ / "qmztx.ini"));
  // Every call finds the path afresh.
  std::filesystem::current_path(root_);
  EXPECT_EQ(config.UpdateConfigPath(), Inside(root_ / "qmztx.ini"));
}

TEST_F(AppConfigFile, ToolBelowAppSharesThePlatformsFile) {
  std::filesystem::create_directories(root_ / "app" / "tool");
  std::filesystem::current_path(root_ / "app" / "tool");
  AppConfig tool;
  tool.SetWindowHandle("tool", 77);
  std::filesystem::current_path(root_);
  EXPECT_EQ(config.GetWindowHandle("tool"), 77);
  EXPECT_EQ(ReadIni(), "[jb]\r\ntool=77\r\n");
}

TEST_F(AppConfigFile, ValuesRoundTripThroughTheirSections) {
  config.SetWindowHandle("pt", 4194320);
  config.SetRun("pt");
  config.SetName("kesto");
  config.WriteWmValue("extra", "v");
  EXPECT_EQ(config.GetWindowHandle("pt"), 4194320);
  EXPECT_EQ(config.GetRun(), "pt");
  EXPECT_EQ(config.GetName(), "kesto");
  EXPECT_EQ(config.ReadWmValue("extra"), "v");
  EXPECT_EQ(config.ReadWmValue("missing"), "");
  EXPECT_EQ(ReadIni(), "[jb]\r\npt=4194320\r\n[wm]\r\nrun=pt\r\nname=kesto\r\nextra=v\r\n");
}

TEST_F(AppConfigFile, HandlesReadAsAtoiDoes) {
  EXPECT_EQ(config.GetWindowHandle("pt"), 0);  // no file
  WriteIni("[jb]\r\npt=123abc\r\nneg=-5\r\nword=x\r\n");
  EXPECT_EQ(config.GetWindowHandle("pt"), 123);
  EXPECT_EQ(config.GetWindowHandle("neg"), -5);
  EXPECT_EQ(config.GetWindowHandle("word"), 0);
  EXPECT_EQ(config.GetWindowHandle(""), 0);
}

TEST_F(AppConfigFile, AppNamesAreAppendedWithCommas) {
  config.AddAppName("a");
  EXPECT_EQ(config.GetAppNames(), "a");
  config.AddAppName("b");
  config.AddAppName("a");
  EXPECT_EQ(config.GetAppNames(), "a,b,a");
}

std::vector<Text> Keys(AppConfig& config, bool* found = nullptr) {
  Array<Text> keys{"stale"};
  bool result = config.ListHandleKeys(keys);
  if (found) *found = result;
  return keys.Items();
}

TEST_F(AppConfigFile, ListsHandleKeysOfSectionJb) {
  bool found = true;
  EXPECT_EQ(Keys(config, &found), (std::vector<Text>{}));
  EXPECT_FALSE(found);
  WriteIni("[wm]\r\nrun=pt\r\n[jb]\r\npt=1\r\nnoequals\r\ntool=2\r\n[app]\r\nan=x\r\n");
  EXPECT_EQ(Keys(config, &found), (std::vector<Text>{"", "pt", "", "tool"}));
  EXPECT_TRUE(found);
}

TEST_F(AppConfigFile, ABracketInAValueEndsTheListEarly) {
  WriteIni("[jb]\r\npt=1\r\nodd=a[b\r\nlater=3\r\n");
  EXPECT_EQ(Keys(config), (std::vector<Text>{"", "pt", "odd"}));
}

TEST_F(AppConfigFile, LfOnlyLinesGiveOnlyTheFirstKey) {
  WriteIni("[jb]\npt=1\ntool=2\n");
  EXPECT_EQ(Keys(config), (std::vector<Text>{"\npt"}));
  // Reading skips the key's leading line end, so the first key still finds its handle.
  EXPECT_EQ(config.GetWindowHandle("\npt"), 1);
}

TEST_F(AppConfigFile, WithoutSectionJbNoKeysAreListed) {
  bool found = false;
  WriteIni("[wm]\r\nrun=pt\r\n");
  EXPECT_EQ(Keys(config, &found), (std::vector<Text>{}));
  EXPECT_TRUE(found);
}

TEST_F(AppConfigFile, ClosesOnlyLiveWindowsOfTheRecordedPrograms) {
  using testing::RunningProgram;
  RunningProgram tool = RunningProgram::CopyRunAs(root_ / "app/tool.qmz");
  RunningProgram stubbornTool = RunningProgram::ScriptRunAs(root_ / "app/sub/stubborn.v2.qmz");
  RunningProgram other = RunningProgram::CopyRunAs(root_ / "app/other.qmz");
  auto live = headless::CreateFakeWindow({.title = "tool", .processId = tool.pid()});
  auto stubborn =
      headless::CreateFakeWindow({.processId = stubbornTool.pid(), .ignoresClose = true});
  auto gone = headless::CreateFakeWindow({.processId = tool.pid()});
  headless::DestroyFakeWindow(gone);
  // Reused handles: another tool's window, this process's own, and one that says no owner.
  auto reused = headless::CreateFakeWindow({.processId = other.pid()});
  auto own = headless::CreateFakeWindow({.processId = CurrentProcessId()});
  auto unowned = headless::CreateFakeWindow();
  config.SetWindowHandle("tool", static_cast<int>(live));
  config.SetWindowHandle("stubborn", static_cast<int>(stubborn));
  config.SetWindowHandle("gone", static_cast<int>(gone));
  config.SetWindowHandle("reused", static_cast<int>(reused));
  config.SetWindowHandle("pt", static_cast<int>(own));
  config.SetWindowHandle("unowned", static_cast<int>(unowned));

  Array<Text> keys;
  ASSERT_TRUE(config.ListHandleKeys(keys));
  for (const Text& key : keys) config.CloseRegisteredWindow(key);

  EXPECT_FALSE(native::IsWindow(live));
  ASSERT_EQ(headless::FakeWindow(live).posted.size(), 1u);
  EXPECT_EQ(headless::FakeWindow(live).posted[0].message, native::kWmClose);
  EXPECT_TRUE(native::IsWindow(stubborn));
  EXPECT_EQ(headless::FakeWindow(stubborn).posted.size(), 1u);
  EXPECT_TRUE(headless::FakeWindow(gone).posted.empty());
  for (auto untouched : {reused, own, unowned}) {
    EXPECT_TRUE(headless::FakeWindow(untouched).posted.empty()) << untouched;
  }
  // The stale entry stays in the file.
  EXPECT_EQ(config.GetWindowHandle("gone"), static_cast<int>(gone));
}

TEST_F(AppConfigFile, CloneCopiesThePathAndDestroyReleasesIt) {
  config.UpdateConfigPath();
  auto copy = config.Clone();
  EXPECT_EQ(copy->configPath(), config.configPath());
  config.Destroy();
  EXPECT_EQ(config.configPath(), "");
  EXPECT_NE(copy->configPath(), "");
}

}  // namespace
}  // namespace kesto
