#include "apps/app_config.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "runtime/headless/native_windows.h"
#include "tests/program/temp_program_folder.h"

namespace kesto {
namespace {

// Each test runs in a fresh platform folder made the current directory.
class AppConfigFile : public ::testing::Test {
 protected:
  void SetUp() override { headless::ResetFakeWindows(); }

  void WriteIni(const std::string& content) { folder_.Write("qmztx.ini", content); }
  std::string ReadIni() { return folder_.Read("qmztx.ini"); }

  testing::TempProgramFolder folder_;
  AppConfig config;
};

TEST_F(AppConfigFile, PathIsInTheCurrentDirectory) {
  EXPECT_EQ(config.configPath(), "");
  EXPECT_EQ(config.GetConfigPath(), folder_.Inside("qmztx.ini"));
  EXPECT_EQ(config.configPath(), folder_.Inside("qmztx.ini"));
}

TEST_F(AppConfigFile, BelowAnAppFolderThePathIsTwoLevelsUp) {
  std::filesystem::create_directories(folder_ / "app/tool");
  std::filesystem::current_path(folder_ / "app/tool");
  EXPECT_EQ(config.UpdateConfigPath(), folder_.Inside("qmztx.ini"));
  // Only a whole folder name counts: a platform in a folder such as C:\Users\apple\Kesto or
  // D:\apps\Kesto keeps its file beside it.
  for (const char* own : {"apple/Kesto", "apps/Kesto"}) {
    std::filesystem::create_directories(folder_ / own);
    std::filesystem::current_path(folder_ / own);
    EXPECT_EQ(config.UpdateConfigPath(), CurrentDirectory() + "\\qmztx.ini") << own;
  }
  // Every call finds the path afresh.
  std::filesystem::current_path(folder_.root());
  EXPECT_EQ(config.UpdateConfigPath(), folder_.Inside("qmztx.ini"));
}

TEST_F(AppConfigFile, ToolBelowAppSharesThePlatformsFile) {
  std::filesystem::create_directories(folder_ / "app/tool");
  std::filesystem::current_path(folder_ / "app/tool");
  AppConfig tool;
  tool.SetWindowHandle("tool", 77);
  std::filesystem::current_path(folder_.root());
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
